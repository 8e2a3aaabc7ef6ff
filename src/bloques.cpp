#include "bloques.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstring>

SDL_Surface* CargaImagen(const char* path)
{
    SDL_Surface* sur_auxiliar = IMG_Load(path);
    if (sur_auxiliar == nullptr)
        return nullptr;
    // Converted once here, so that every blit is a plain copy. A failed
    // conversion is a failed load: a null image would only crash later.
    SDL_Surface* convertida = SDL_DisplayFormat(sur_auxiliar);
    SDL_FreeSurface(sur_auxiliar);
    return convertida;
}

Block::Block(int tam_x, int tam_y) : img(nullptr), tam_bloque_x(tam_x), tam_bloque_y(tam_y) {}

Block::~Block()
{
    SDL_FreeSurface(img);
}

int Block::Cargar_IMG(const char* path)
{
    SDL_Surface* cargada = CargaImagen(path);
    if (cargada == nullptr)
        return 1;
    SDL_FreeSurface(img);
    img = cargada;
    return 0;
}

// SDL 1.2 on x86-64 copies same-format blits with non-temporal stores, which
// makes each 10x10 cell cost microseconds, and a frame draws up to 200
// cells. Where SDL would do a plain copy, copy the rows ourselves.
static bool CopiaDirecta(SDL_Surface* origen, SDL_Surface* destino)
{
    const SDL_PixelFormat* a = origen->format;
    const SDL_PixelFormat* b = destino->format;
    return a->BytesPerPixel == b->BytesPerPixel && a->BytesPerPixel >= 2 && a->Rmask == b->Rmask &&
           a->Gmask == b->Gmask && a->Bmask == b->Bmask && a->Amask == b->Amask &&
           (origen->flags & (SDL_SRCCOLORKEY | SDL_SRCALPHA)) == 0 && !SDL_MUSTLOCK(origen) && !SDL_MUSTLOCK(destino);
}

void Block::Dibujar(SDL_Surface* superficie, int x, int y)
{
    if (img == nullptr)
        return;
    SDL_Rect destino;
    destino.x = static_cast<Sint16>(x);
    destino.y = static_cast<Sint16>(y);
    destino.w = static_cast<Uint16>(img->w);
    destino.h = static_cast<Uint16>(img->h);
    if (!CopiaDirecta(img, superficie)) {
        SDL_BlitSurface(img, nullptr, superficie, &destino);
        return;
    }
    // Clipped to the surface's clip rectangle, as SDL's blit would be.
    const SDL_Rect& corte = superficie->clip_rect;
    const int x0 = std::max<int>(destino.x, corte.x);
    const int y0 = std::max<int>(destino.y, corte.y);
    const int x1 = std::min<int>(destino.x + destino.w, corte.x + corte.w);
    const int y1 = std::min<int>(destino.y + destino.h, corte.y + corte.h);
    if (x1 <= x0 || y1 <= y0)
        return;
    const int bytes = img->format->BytesPerPixel;
    const Uint8* de = static_cast<const Uint8*>(img->pixels) + (y0 - destino.y) * img->pitch + (x0 - destino.x) * bytes;
    Uint8* a = static_cast<Uint8*>(superficie->pixels) + y0 * superficie->pitch + x0 * bytes;
    for (int fila = y0; fila < y1; fila++, de += img->pitch, a += superficie->pitch)
        memcpy(a, de, static_cast<size_t>((x1 - x0) * bytes));
}
