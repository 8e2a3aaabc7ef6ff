#ifndef CUADRICULA_H
#define CUADRICULA_H

struct SDL_Surface;
class Block;

// The board: h rows of w integer cells, row 0 at the top. A cell holds 0 when
// empty, otherwise the index of the block image that draws it plus 1.
class Cuadricula {
public:
    // alto rows by ancho columns, every cell empty.
    Cuadricula(int alto, int ancho);
    ~Cuadricula();

    // The rows themselves: pieces stamp and erase through them. Valid for the board's life.
    int** GetCuadricula() { return mapa; }
    // True when no cell of row fila is empty.
    bool EstaLlena(int fila);
    // True when every cell of row fila is empty.
    bool EstaVacia(int fila);
    // Would a 4x4 shape whose square's top-left corner is at board pixel
    // (posx, posy) fit? NO_COLISION (-1) if it does, COLISION (0) if a
    // non-zero shape cell leaves the board or covers a filled cell.
    // Pixels become cells by division truncating toward zero.
    int Colision(int posx, int posy, int mapa_figura[][4]);
    int GetH() { return h; }
    int GetW() { return w; }
    // Empties row fila.
    void BorraFila(int fila);
    // Lets the rows above fila down by one: fila takes the row above it, and
    // so on upwards until a row receives an empty one. Row 0 always ends empty.
    void BajaMapa(int fila);
    // Empties every cell.
    void ResetMap();
    // Draws every filled cell with bloque[value - 1] at its screen place.
    // Values with no image are skipped.
    void Dibujar(SDL_Surface* superficie, Block** bloque);

    Cuadricula(const Cuadricula&) = delete;
    Cuadricula& operator=(const Cuadricula&) = delete;

private:
    int w;
    int h;
    int** mapa;
};

#endif
