// How Emscripten's SDL 1.2 differs from the desktop's, as the game sees it.
// The web build includes this ahead of every source (-include), so that the
// game's own sources stay the desktop's, without an #ifdef.
#ifndef SDL12_WEB_H
#define SDL12_WEB_H

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#ifdef __cplusplus
extern "C" {
#endif
// Emscripten's library has it; its headers do not declare it.
Uint8* SDL_GetKeyState(int* numkeys);
// In sdl12_web.cpp: loaders that fail, with SDL's reason, as the desktop's do.
SDL_Surface* IMG_LoadWeb(const char* file);
TTF_Font* TTF_OpenFontWeb(const char* file, int ptsize);
#ifdef __cplusplus
}
#endif

// Its library numbers the keys named after scancodes scancode | 1 << 10, in
// events and in the keyboard state alike; its headers, as SDL 2 does, 1 << 30.
#define SDLK_LEFT (SDL_SCANCODE_LEFT | 1 << 10)
#define SDLK_RIGHT (SDL_SCANCODE_RIGHT | 1 << 10)
#define SDLK_UP (SDL_SCANCODE_UP | 1 << 10)
#define SDLK_DOWN (SDL_SCANCODE_DOWN | 1 << 10)
#define SDLK_F11 (SDL_SCANCODE_F11 | 1 << 10)
// Surfaces are canvases, which draw on any other: a copy is all it takes.
#define SDL_DisplayFormat SDL_DisplayFormatAlpha
#define IMG_Load IMG_LoadWeb
#define TTF_OpenFont TTF_OpenFontWeb

#endif
