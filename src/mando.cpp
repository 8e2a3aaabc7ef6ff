#include "mando.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <iterator>
#include <vector>

#include "constantes.h"
#include "ventana.h"

const Disposicion DISPOSICION_LINUX = {0, 6, 7, {-1, -1, -1, -1}, false};
const Disposicion DISPOSICION_SDL2 = {0, 4, 6, {11, 12, 13, 14}, true};

namespace {

const Joysticks DE_SDL = {SDL_NumJoysticks,      SDL_JoystickOpen,      SDL_JoystickClose,
                          SDL_JoystickIndex,     SDL_JoystickNumButtons, SDL_JoystickUpdate,
                          SDL_JoystickGetButton, SDL_JoystickGetAxis,   SDL_JoystickGetHat};
Joysticks sdl = DE_SDL;
const Uint8 DIRECCIONES[4] = {SDL_HAT_UP, SDL_HAT_DOWN, SDL_HAT_LEFT, SDL_HAT_RIGHT};
// About half the range: a worn stick's drift, or a light touch, moves nothing.
const int UMBRAL_EJE = 16384;

// What one pad holds now.
struct Sostenido {
    Uint8 cruceta;  // SDL_HAT_* bits
    Sint16 eje_x;
    Sint16 eje_y;
    bool a;          // turns the piece: from a press of A to its release
    Uint8 pulsados;  // A, Back and Start as last polled, bits 0 to 2
};

// SDL 1.2 numbers joysticks with a byte.
Sostenido sostenidos[256];
std::vector<SDL_Joystick*> mandos;
Disposicion disposicion = DISPOSICION_LINUX;
bool fijada = false;
std::deque<int> pulsaciones;  // polled presses not yet handed out

int Significado(int boton)
{
    return boton == disposicion.a ? ENTER : boton == disposicion.back ? ESCAPE
                                        : boton == disposicion.start ? INICIO : NO_EVENTOS;
}

}  // namespace

void UsaJoysticks(const Joysticks* joysticks)
{
    sdl = joysticks != nullptr ? *joysticks : DE_SDL;
}

void PreparaMandos()
{
    if (EsSdl12Compat())
        PorDefecto("SDL12COMPAT_USE_GAME_CONTROLLERS", "1");
}

void FijaDisposicion(const Disposicion& nueva)
{
    disposicion = nueva;
    fijada = true;
}

void AbreMandos()
{
    if (!fijada) {
        // sdl12-compat reads the variable as a number.
        const char* controlador = getenv("SDL12COMPAT_USE_GAME_CONTROLLERS");
        disposicion = EsSdl12Compat() && controlador != nullptr && atoi(controlador) != 0 ? DISPOSICION_SDL2
                                                                                        : DISPOSICION_LINUX;
    }
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) < 0)
        return;
    for (int k = 0; k < sdl.numero(); k++) {
        SDL_Joystick* mando = sdl.abre(k);
        // Axes without buttons, such as a laptop's accelerometer, are no pad.
        if (mando != nullptr && sdl.botones(mando) == 0)
            sdl.cierra(mando);
        else if (mando != nullptr)
            mandos.push_back(mando);
    }
}

void CierraMandos()
{
    for (SDL_Joystick* mando : mandos)
        sdl.cierra(mando);
    mandos.clear();
    pulsaciones.clear();
    std::fill(std::begin(sostenidos), std::end(sostenidos), Sostenido{});
}

int EventoMando(const SDL_Event& evento)
{
    // Polled pads are read as they are; their events, if any come, would count twice.
    if (disposicion.sondeo)
        return NO_EVENTOS;
    switch (evento.type) {
    case SDL_JOYHATMOTION:
        if (evento.jhat.hat == 0)
            sostenidos[evento.jhat.which & 0xFF].cruceta = evento.jhat.value;
        return NO_EVENTOS;
    case SDL_JOYAXISMOTION:
        if (evento.jaxis.axis == 0)
            sostenidos[evento.jaxis.which & 0xFF].eje_x = evento.jaxis.value;
        else if (evento.jaxis.axis == 1)
            sostenidos[evento.jaxis.which & 0xFF].eje_y = evento.jaxis.value;
        return NO_EVENTOS;
    case SDL_JOYBUTTONUP:
        if (evento.jbutton.button == disposicion.a)
            sostenidos[evento.jbutton.which & 0xFF].a = false;
        return NO_EVENTOS;
    case SDL_JOYBUTTONDOWN:
        if (evento.jbutton.button == disposicion.a)
            sostenidos[evento.jbutton.which & 0xFF].a = true;
        return Significado(evento.jbutton.button);
    default:
        return NO_EVENTOS;
    }
}

int SondeaMandos()
{
    if (!disposicion.sondeo || mandos.empty())
        return NO_EVENTOS;
    sdl.actualiza();
    for (SDL_Joystick* mando : mandos) {
        Sostenido& s = sostenidos[sdl.indice(mando) & 0xFF];
        if (disposicion.cruceta[0] < 0) {
            s.cruceta = sdl.cruceta(mando, 0);
        } else {
            s.cruceta = 0;
            for (int k = 0; k < 4; k++)
                if (sdl.boton(mando, disposicion.cruceta[k]))
                    s.cruceta |= DIRECCIONES[k];
        }
        s.eje_x = sdl.eje(mando, 0);
        s.eje_y = sdl.eje(mando, 1);
        const int botones[3] = {disposicion.a, disposicion.back, disposicion.start};
        for (int k = 0; k < 3; k++) {
            const Uint8 bit = static_cast<Uint8>(1 << k);
            const bool pulsado = sdl.boton(mando, botones[k]) != 0, antes = (s.pulsados & bit) != 0;
            if (pulsado && !antes)
                pulsaciones.push_back(Significado(botones[k]));
            if (k == 0 && pulsado != antes)
                s.a = pulsado;
            s.pulsados = static_cast<Uint8>(pulsado ? s.pulsados | bit : s.pulsados & ~bit);
        }
    }
    if (pulsaciones.empty())
        return NO_EVENTOS;
    const int pulsacion = pulsaciones.front();
    pulsaciones.pop_front();
    return pulsacion;
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
