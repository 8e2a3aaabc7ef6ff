#ifndef FIGURAS_H
#define FIGURAS_H

struct SDL_Surface;
class Block;
class Cuadricula;

// Reads a shape file: four lines whose first four characters are the cells
// (character code minus '0'); the rest of each line, up to 15 characters,
// is dropped. True when all 16 cells were read and at least one equals 1,
// the only shapes a game can play. On false mapa_figura holds no usable shape.
bool LeeFigura(const char* path, int mapa_figura[][4]);

// A piece: a 4x4 shape at a board-pixel position, with a fall step and a
// shape number that also picks its block image. A plain value: copies copy
// everything, the shape included.
//
// Any non-zero shape cell is solid for collision and stamping; only cells
// equal to 1 are drawn.
class Figures {
public:
    Figures() : activo(false), x(-1), y(-1), dx(0), dy(0), tipo(-1), mapa() {}

    // Puts the piece in play at (posx, posy) with steps (vx, vy) and shape
    // number type, and reads its shape from path. A file that LeeFigura
    // rejects gives a one-block shape, so play goes on with the fault in sight.
    void Iniciar(int posx, int posy, int vx, int vy, int type, const char* path);
    bool GetActivo() { return activo; }
    int GetX() { return x; }
    int GetY() { return y; }
    int GetTipo() { return tipo; }
    void SetX(int posx) { x = posx; }
    void SetY(int posy) { y = posy; }
    // Board-pixel y of the top edge of the first (InicioY) or last (FinY)
    // shape row holding a cell equal to 1; -1 when there is none.
    int InicioY();
    int FinY();
    void GetMapa(int mapa_destino[][4]);
    void SetVelocity(int vy) { dy = vy; }
    // Falls by dy if the shape fits there: 0. Otherwise lands: dy becomes 0
    // and the result is -1.
    int Bajar(Cuadricula* cuadricula);
    // Moves movex pixels sideways if the shape fits there.
    void Mover(int movex, Cuadricula* mapa_colisiones);
    // A quarter turn clockwise, shifted into the square's top-left corner,
    // kept only if it fits at the same position: 0 if rotated, -1 if not.
    int Girar(Cuadricula* cuadricula);
    // Writes tipo + 1 into the board under every solid cell inside it.
    void DibujaMapa(Cuadricula* cuadricula);
    // Draws every cell equal to 1 with bloque, at the piece's exact pixels.
    void Dibujar(SDL_Surface* superficie, Block* bloque);
    // Removes shape row fila (0 to 3), lets the rows above it down and
    // re-stamps the piece; 1 if a cell equal to 1 is left, else 0.
    int BorraFila(int fila, Cuadricula* cuadricula);
    // Writes 0 into the board under every solid cell inside it.
    void BorraMapa(Cuadricula* cuadricula);
    // Out of play; everything else is kept.
    void Finaliza() { activo = false; }

private:
    // Writes valor under every solid cell that lies inside the board.
    void Estampa(Cuadricula* cuadricula, int valor);

    bool activo;
    int x;
    int y;
    [[maybe_unused]] int dx;  // kept with the piece; moves take their distance as an argument
    int dy;
    int tipo;
    int mapa[4][4];
};

#endif
