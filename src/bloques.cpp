#include "bloques.h"

#include <SDL.h>
#include <SDL_image.h>

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

void Block::Dibujar(SDL_Surface* superficie, int x, int y)
{
    if (img == nullptr)
        return;
    SDL_Rect destino;
    destino.x = static_cast<Sint16>(x);
    destino.y = static_cast<Sint16>(y);
    destino.w = static_cast<Uint16>(img->w);
    destino.h = static_cast<Uint16>(img->h);
    SDL_BlitSurface(img, nullptr, superficie, &destino);
}
