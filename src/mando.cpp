#include "mando.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "constantes.h"

namespace {

const int BOTON_A = 0;
const int BOTON_BACK = 6;
const int BOTON_START = 7;
// About half the range: a worn stick's drift, or a light touch, moves nothing.
const int UMBRAL_EJE = 16384;

// What one pad holds now.
struct Sostenido {
    Uint8 cruceta;  // SDL_HAT_* bits
    Sint16 eje_x;
    Sint16 eje_y;
    bool a;
};

// SDL 1.2 numbers joysticks with a byte.
Sostenido sostenidos[256];
std::vector<SDL_Joystick*> mandos;

}  // namespace

void AbreMandos()
{
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) < 0)
        return;
    for (int k = 0; k < SDL_NumJoysticks(); k++) {
        SDL_Joystick* mando = SDL_JoystickOpen(k);
        // Axes without buttons, such as a laptop's accelerometer, are no pad.
        if (mando != nullptr && SDL_JoystickNumButtons(mando) == 0)
            SDL_JoystickClose(mando);
        else if (mando != nullptr)
            mandos.push_back(mando);
    }
}

void CierraMandos()
{
    for (SDL_Joystick* mando : mandos)
        SDL_JoystickClose(mando);
    mandos.clear();
    std::fill(std::begin(sostenidos), std::end(sostenidos), Sostenido{});
}

int EventoMando(const SDL_Event& evento)
{
    switch (evento.type) {
    case SDL_JOYHATMOTION:
        if (evento.jhat.hat == 0)
            sostenidos[evento.jhat.which].cruceta = evento.jhat.value;
        return NO_EVENTOS;
    case SDL_JOYAXISMOTION:
        if (evento.jaxis.axis == 0)
            sostenidos[evento.jaxis.which].eje_x = evento.jaxis.value;
        else if (evento.jaxis.axis == 1)
            sostenidos[evento.jaxis.which].eje_y = evento.jaxis.value;
        return NO_EVENTOS;
    case SDL_JOYBUTTONUP:
        if (evento.jbutton.button == BOTON_A)
            sostenidos[evento.jbutton.which].a = false;
        return NO_EVENTOS;
    case SDL_JOYBUTTONDOWN:
        if (evento.jbutton.button == BOTON_A) {
            sostenidos[evento.jbutton.which].a = true;
            return ENTER;
        }
        return evento.jbutton.button == BOTON_BACK ? ESCAPE : evento.jbutton.button == BOTON_START ? INICIO : NO_EVENTOS;
    default:
        return NO_EVENTOS;
    }
}

bool MandoSostiene(SDLKey flecha)
{
    for (const Sostenido& s : sostenidos) {
        if ((flecha == SDLK_LEFT && ((s.cruceta & SDL_HAT_LEFT) || s.eje_x < -UMBRAL_EJE)) ||
            (flecha == SDLK_RIGHT && ((s.cruceta & SDL_HAT_RIGHT) || s.eje_x > UMBRAL_EJE)) ||
            (flecha == SDLK_UP && ((s.cruceta & SDL_HAT_UP) || s.eje_y < -UMBRAL_EJE || s.a)) ||
            (flecha == SDLK_DOWN && ((s.cruceta & SDL_HAT_DOWN) || s.eje_y > UMBRAL_EJE)))
            return true;
    }
    return false;
}

void SueltaBotonA()
{
    for (Sostenido& s : sostenidos)
        s.a = false;
}
