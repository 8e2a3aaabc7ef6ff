#include "ventana.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <strings.h>
#include <unistd.h>

namespace {

bool escala_nuestra = false;  // SDL12COMPAT_WINDOW_SCALING is the game's, not the player's

// Over X11 SDL2 (or SDL3) can present the software renderer's picture
// straight into the window: no OpenGL stack, which without a GPU driver is
// Mesa's LLVM, some 90 MB to show 320x240 pixels. Either of the first two
// alone still brings up OpenGL. sdl12-compat 1.2.7x also creates its window
// for OpenGL whenever OpenGL is SDL's first renderer, whatever renderer is
// asked for; finding no OpenGL library to load, it creates a plain one.
// That door comes first: a player who chose no OpenGL has it closed alone.
const char* const LIGERA[][2] = {
    {"SDL_OPENGL_LIBRARY", "/dev/null"}, {"SDL_RENDER_DRIVER", "software"}, {"SDL_FRAMEBUFFER_ACCELERATION", "0"}};

bool Puesta(const char* variable)
{
    const char* valor = getenv(variable);
    return valor != nullptr && *valor != '\0';
}

// Whether SDL_Init picked the video driver nombre: "x11", "wayland", "KMSDRM"...
bool Controlador(const char* nombre)
{
    char controlador[32] = "";
    return SDL_VideoDriverName(controlador, sizeof controlador) != nullptr && strcasecmp(controlador, nombre) == 0;
}

// SDL reads what follows as its video starts.
bool ReiniciaVideo()
{
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return false;
    SDL_ShowCursor(SDL_DISABLE);
    return true;
}

// Whether variable holds valor, in any case.
bool Vale(const char* variable, const char* valor)
{
    const char* puesto = getenv(variable);
    return puesto != nullptr && strcasecmp(puesto, valor) == 0;
}

// The software path over X11, unless the player chose how SDL presents;
// says how many of LIGERA it set, from the first.
int PideLigera()
{
    if (Puesta("SDL_OPENGL_LIBRARY"))
        return 0;
    int puestas = 0;
    if (Vale("SDL_RENDER_DRIVER", "software") && Vale("SDL_FRAMEBUFFER_ACCELERATION", "0") &&
        (!Puesta("SDL12COMPAT_OPENGL_SCALING") || Vale("SDL12COMPAT_OPENGL_SCALING", "0")))
        puestas = 1;  // the player's own way, without OpenGL: sdl12-compat must not open it
    else if (!Puesta("SDL12COMPAT_OPENGL_SCALING") && !Puesta("SDL_RENDER_DRIVER") &&
             !Puesta("SDL_FRAMEBUFFER_ACCELERATION"))
        puestas = 3;
    for (int k = 0; k < puestas; k++)
        setenv(LIGERA[k][0], LIGERA[k][1], 1);
    if (puestas > 0)
        ReiniciaVideo();
    return puestas;
}

// An SDL that cannot open the screen may crash instead of saying so, as
// SDL2 2.0.14 does on KMS/DRM: the game then writes its line and ends, as
// any failed start does. Only what a signal handler may call.
extern "C" void SdlCaido(int)
{
    static const char linea[] = "No se puede iniciar el modo de v\xED"
                                "deo: SDL se detuvo al abrirlo (violacion de segmento)\n";
    if (write(STDOUT_FILENO, linea, sizeof linea - 1) < 0) {
    }
    _exit(1);
}

// SDL_SetVideoMode, but a crash inside it becomes the start-up line.
SDL_Surface* ModoDeVideo(int ancho, int alto, int bpp, Uint32 flags)
{
    struct sigaction caida = {}, antes;
    caida.sa_handler = SdlCaido;
    sigaction(SIGSEGV, &caida, &antes);
    SDL_Surface* pantalla = SDL_SetVideoMode(ancho, alto, bpp, flags);
    sigaction(SIGSEGV, &antes, nullptr);
    return pantalla;
}

// sdl12-compat over SDL3 loses SDL's reason on the way out of a failed 2D
// mode: its later calls overwrite it, then clear it. An OpenGL mode, asked
// for only to learn why, fails for the same reason and keeps it, as the 2D
// picture is presented through that very stack.
void BuscaRazon(int ancho, int alto)
{
    if (ModoDeVideo(ancho, alto, 0, SDL_OPENGL) == nullptr && *SDL_GetError() != '\0')
        return;
    char controlador[32] = "?";
    SDL_VideoDriverName(controlador, sizeof controlador);
    SDL_SetError("SDL no dio el motivo (controlador de video: %s)", controlador);
}

}  // namespace

bool EsSdl12Compat()
{
    const SDL_version* version = SDL_Linked_Version();
    return version->major == 1 && version->minor == 2 && version->patch >= 50;
}

bool PorDefecto(const char* variable, const char* valor)
{
    if (Puesta(variable))
        return false;
    setenv(variable, valor, 1);
    return true;
}

void PreparaVentana()
{
    // Whole multiples stay crisp, and so does the picture letterboxed in full screen.
    if (EsSdl12Compat())
        PorDefecto("SDL12COMPAT_SCALE_METHOD", "nearest");
}

int EscalaVentana(int ancho, int alto, int escritorio_w, int escritorio_h)
{
    return std::max(1, std::min(escritorio_w * 85 / 100 / ancho, escritorio_h * 85 / 100 / alto));
}

SDL_Surface* AbreVentana(int ancho, int alto, int bpp, Uint32 flags)
{
    // A handheld's screen is the game's alone: its launcher says so, and the
    // picture fills it at once, whatever the compositor would do with a window.
    const char* completa = getenv("BRIKANDO_PANTALLA_COMPLETA");
    if (completa != nullptr && atoi(completa) != 0)
        flags |= SDL_FULLSCREEN;
    // Away from a desktop (a handheld's KMS/DRM) SDL's own choices are the
    // ones known to work; the classic library cannot scale. Wayland gives no
    // window framebuffer: SDL presents through OpenGL there anyway.
    int ligera = 0;
    if (EsSdl12Compat() && (Controlador("x11") || Controlador("wayland"))) {
        ligera = Controlador("x11") ? PideLigera() : 0;
        const SDL_VideoInfo* escritorio = SDL_GetVideoInfo();
        if ((escala_nuestra || !Puesta("SDL12COMPAT_WINDOW_SCALING")) && escritorio != nullptr) {
            char escala[12];
            snprintf(escala, sizeof escala, "%d",
                     EscalaVentana(ancho, alto, escritorio->current_w, escritorio->current_h));
            setenv("SDL12COMPAT_WINDOW_SCALING", escala, 1);
            escala_nuestra = true;
        }
    }
    SDL_Surface* pantalla = ModoDeVideo(ancho, alto, bpp, flags);
    if (pantalla == nullptr && ligera > 0) {
        // A backend without a window framebuffer: video starts again, on the
        // library's defaults.
        for (int k = 0; k < ligera; k++)
            unsetenv(LIGERA[k][0]);
        if (ReiniciaVideo())
            pantalla = ModoDeVideo(ancho, alto, bpp, flags);
    }
    if (pantalla == nullptr && *SDL_GetError() == '\0')
        BuscaRazon(ancho, alto);
    // Under Wayland SDL may make its window again as it picks a renderer
    // (SDL3 does wherever desktop OpenGL is missing, as on handhelds), and
    // the new window is not full screen: the same mode again, on the window
    // that now stays, asks for it.
    if (pantalla != nullptr && (flags & SDL_FULLSCREEN) && EsSdl12Compat() && Controlador("wayland"))
        pantalla = ModoDeVideo(ancho, alto, bpp, flags);
    return pantalla;
}

void CambiaPantallaCompleta(SDL_Surface* pantalla)
{
    if (pantalla != nullptr && SDL_WM_ToggleFullScreen(pantalla))
        SDL_Flip(pantalla);
}
