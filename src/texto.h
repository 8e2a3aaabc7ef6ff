#ifndef TEXTO_H
#define TEXTO_H

#include <SDL.h>
#include <SDL_ttf.h>

// A white text label drawn with a TrueType font, blended over what lies beneath.
class Texto {
public:
    Texto();
    ~Texto();
    // Opens the font at path at 12 points; 0 on success, 1 on failure
    // (SDL_GetError says why). Any font open before is closed first, so a
    // failed call leaves the label with no font.
    int SetFont(const char* path);
    // Render the label's image anew. Without a font they leave no image.
    void SetText(const char* mete_texto);
    void SetNum(int numero);
    void SetPosX(int x);
    void SetPosY(int y);
    // Blits the last rendered text at the label's position; SDL writes the
    // clipped size back into that rectangle.
    void DibujarText(SDL_Surface* destino);

    Texto(const Texto&) = delete;
    Texto& operator=(const Texto&) = delete;

private:
    void Renderiza(const char* texto);

    TTF_Font* fuente;
    char caption[400];
    SDL_Rect rect_pos;
    [[maybe_unused]] SDL_Color bg_color;  // the label has no background box
    SDL_Color fg_color;
    SDL_Surface* sur_texto;
    int size;
};

#endif
