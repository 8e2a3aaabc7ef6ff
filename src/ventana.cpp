#include "ventana.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool ligera = false;    // the game chose SDL2's software path
bool a_medida = false;  // the game sizes the window to the desktop

bool Puesta(const char* variable)
{
    const char* valor = getenv(variable);
    return valor != nullptr && *valor != '\0';
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
    ligera = a_medida = false;
    // The classic library cannot scale; away from a desktop (a handheld's
    // KMS/DRM) SDL2's own choices are the ones known to work.
    if (!EsSdl12Compat() || !(Puesta("DISPLAY") || Puesta("WAYLAND_DISPLAY")))
        return;
    a_medida = !Puesta("SDL12COMPAT_WINDOW_SCALING");
    // Whole multiples stay crisp, and so does the picture letterboxed in full screen.
    PorDefecto("SDL12COMPAT_SCALE_METHOD", "nearest");
    // SDL2 would scale through OpenGL, which without a GPU driver is Mesa's
    // LLVM: some 90 MB to show 320x240 pixels. Its software path shows the
    // same picture, but needs a window framebuffer, which X11 gives.
    const bool x11 = Puesta("DISPLAY") && (!Puesta("SDL_VIDEODRIVER") || strcmp(getenv("SDL_VIDEODRIVER"), "x11") == 0);
    if (!x11 || Puesta("SDL_RENDER_DRIVER") || Puesta("SDL_FRAMEBUFFER_ACCELERATION") ||
        Puesta("SDL12COMPAT_OPENGL_SCALING"))
        return;
    setenv("SDL_RENDER_DRIVER", "software", 1);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 1);
    ligera = true;
}

int EscalaVentana(int ancho, int alto, int escritorio_w, int escritorio_h)
{
    return std::max(1, std::min(escritorio_w * 85 / 100 / ancho, escritorio_h * 85 / 100 / alto));
}

SDL_Surface* AbreVentana(int ancho, int alto, int bpp, Uint32 flags)
{
    const SDL_VideoInfo* escritorio = SDL_GetVideoInfo();
    if (a_medida && escritorio != nullptr) {
        char escala[12];
        snprintf(escala, sizeof escala, "%d", EscalaVentana(ancho, alto, escritorio->current_w, escritorio->current_h));
        setenv("SDL12COMPAT_WINDOW_SCALING", escala, 1);
    }
    SDL_Surface* pantalla = SDL_SetVideoMode(ancho, alto, bpp, flags);
    if (pantalla == nullptr && ligera) {
        // A backend without a window framebuffer: video starts again, on the
        // library's defaults.
        unsetenv("SDL_RENDER_DRIVER");
        unsetenv("SDL_FRAMEBUFFER_ACCELERATION");
        ligera = false;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
            SDL_ShowCursor(SDL_DISABLE);
            pantalla = SDL_SetVideoMode(ancho, alto, bpp, flags);
        }
    }
    return pantalla;
}

void CambiaPantallaCompleta(SDL_Surface* pantalla)
{
    if (pantalla != nullptr && SDL_WM_ToggleFullScreen(pantalla))
        SDL_Flip(pantalla);
}
