#include "texto.h"

#include <cstdio>

Texto::Texto()
    : fuente(nullptr), caption(), rect_pos(), bg_color(), fg_color(), sur_texto(nullptr), size(12)
{
    fg_color.r = 255;
    fg_color.g = 255;
    fg_color.b = 255;
}

Texto::~Texto()
{
    if (fuente != nullptr)
        TTF_CloseFont(fuente);
    if (sur_texto != nullptr)
        SDL_FreeSurface(sur_texto);
}

int Texto::SetFont(const char* path)
{
    if (fuente != nullptr)
        TTF_CloseFont(fuente);
    fuente = TTF_OpenFont(path, size);
    return fuente == nullptr ? 1 : 0;
}

void Texto::Renderiza(const char* texto)
{
    if (sur_texto != nullptr)
        SDL_FreeSurface(sur_texto);
    // SDL_ttf dereferences a null font, so no font means no image.
    sur_texto = fuente != nullptr ? TTF_RenderText_Blended(fuente, texto, fg_color) : nullptr;
}

void Texto::SetText(const char* mete_texto)
{
    Renderiza(mete_texto);
}

void Texto::SetNum(int numero)
{
    snprintf(caption, sizeof caption, "%d", numero);
    Renderiza(caption);
}

void Texto::SetPosX(int x)
{
    rect_pos.x = static_cast<Sint16>(x);
}

void Texto::SetPosY(int y)
{
    rect_pos.y = static_cast<Sint16>(y);
}

void Texto::DibujarText(SDL_Surface* destino)
{
    if (sur_texto != nullptr)
        SDL_BlitSurface(sur_texto, nullptr, destino, &rect_pos);
}
