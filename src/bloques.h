#ifndef BLOQUES_H
#define BLOQUES_H

struct SDL_Surface;

// Loads an image file and converts it to the screen's format; null when
// either step fails (SDL_GetError says why). Needs the video mode to be set.
SDL_Surface* CargaImagen(const char* path);

// One block image, converted to the screen's format once and drawn whole.
class Block {
public:
    Block(int tam_x, int tam_y);
    ~Block();
    // Loads the image at path; 0 on success, 1 when it cannot be read or
    // converted (SDL_GetError says why). Needs the video mode to be set.
    // A Block that is loaded again lets go of its previous image.
    int Cargar_IMG(const char* path);
    // Draws the whole image with its top-left corner at (x, y) of superficie;
    // draws nothing before a successful load.
    void Dibujar(SDL_Surface* superficie, int x, int y);

    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;

private:
    SDL_Surface* img;
    [[maybe_unused]] int tam_bloque_x;  // kept for callers; drawing uses the image size
    [[maybe_unused]] int tam_bloque_y;
};

#endif
