// Draws Brikando's images and writes them as PNG files, the same bytes on
// every run: genera_recursos FONT.ttf IMG_DIR ICON_DIR (the desktop icons)
//
// Everything is drawn here from rectangles and the lettering of one free
// font; nothing is copied from anywhere else.

#include <png.h>
#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "constantes.h"

namespace {

struct Color {
    int r, g, b;
};

Color Mezcla(Color a, Color b, double t)
{
    return {static_cast<int>(a.r + (b.r - a.r) * t + 0.5), static_cast<int>(a.g + (b.g - a.g) * t + 0.5),
            static_cast<int>(a.b + (b.b - a.b) * t + 0.5)};
}

const Color NEGRO{0, 0, 0};
const Color BLANCO{255, 255, 255};
const Color FONDO_ARRIBA{34, 42, 64};
const Color FONDO_ABAJO{12, 15, 26};
const Color POZO{8, 10, 16};          // the board: dark, so blocks stand out
const Color REJILLA{20, 24, 36};      // faint cell lines in empty cells
const Color MARCO{96, 112, 150};
const Color TEXTO_SUAVE{170, 182, 210};
const Color AMARILLO{242, 177, 52};   // block0
const Color AZUL{58, 143, 224};       // block1
const Color ROJO{216, 58, 94};        // block2
const Color COLORES_BLOQUE[TIPOS_BLOQUES] = {AMARILLO, AZUL, ROJO};

class Lienzo {
public:
    Lienzo(int ancho, int alto) : w(ancho), h(alto), px(static_cast<size_t>(ancho * alto), NEGRO) {}

    void Punto(int x, int y, Color c)
    {
        if (x >= 0 && y >= 0 && x < w && y < h)
            px[static_cast<size_t>(y * w + x)] = c;
    }

    void Rect(int x, int y, int ancho, int alto, Color c)
    {
        for (int j = y; j < y + alto; j++)
            for (int i = x; i < x + ancho; i++)
                Punto(i, j, c);
    }

    // A frame of the given thickness drawn just outside the rectangle.
    void Marco(int x, int y, int ancho, int alto, int grosor, Color c)
    {
        Rect(x - grosor, y - grosor, ancho + 2 * grosor, grosor, c);
        Rect(x - grosor, y + alto, ancho + 2 * grosor, grosor, c);
        Rect(x - grosor, y, grosor, alto, c);
        Rect(x + ancho, y, grosor, alto, c);
    }

    void DegradadoVertical(Color arriba, Color abajo)
    {
        for (int y = 0; y < h; y++)
            Rect(0, y, w, 1, Mezcla(arriba, abajo, static_cast<double>(y) / (h - 1)));
    }

    // A raised block: light on the top and left edges, dark on the bottom
    // and right, so neighbouring blocks read as separate.
    void Bloque(int x, int y, int lado, Color base)
    {
        Rect(x, y, lado, lado, base);
        if (lado < 4)
            return;  // too small to shade
        const Color luz = Mezcla(base, BLANCO, 0.45);
        const Color sombra = Mezcla(base, NEGRO, 0.55);
        const int b = std::max(1, lado / 10);  // the bevel grows with the big icons' cells
        Rect(x, y, lado, b, luz);
        Rect(x, y, b, lado, luz);
        Rect(x, y + lado - b, lado, b, sombra);
        Rect(x + lado - b, y, b, lado, sombra);
        if (lado >= 8) {
            Rect(x + b, y + lado - 2 * b, lado - 2 * b, b, Mezcla(base, NEGRO, 0.25));
            Rect(x + lado - 2 * b, y + b, b, lado - 2 * b, Mezcla(base, NEGRO, 0.25));
            Rect(x + 2 * b, y + 2 * b, b, b, Mezcla(base, BLANCO, 0.7));
        }
    }

    enum Alineado { IZQUIERDA, CENTRO, DERECHA };

    // Lettering from the font, blended by its coverage. x is the left edge,
    // the centre or the right edge of the text.
    void Escribe(TTF_Font* fuente, const char* utf8, int x, int y, Color c, Alineado alineado = IZQUIERDA)
    {
        SDL_Color blanco = {255, 255, 255, 0};
        SDL_Surface* s = TTF_RenderUTF8_Blended(fuente, utf8, blanco);
        if (s == nullptr)
            return;
        if (alineado == CENTRO)
            x -= s->w / 2;
        else if (alineado == DERECHA)
            x -= s->w;
        SDL_LockSurface(s);
        for (int j = 0; j < s->h; j++) {
            for (int i = 0; i < s->w; i++) {
                const Uint32 v = static_cast<Uint32*>(s->pixels)[j * s->pitch / 4 + i];
                Uint8 r, g, b, a;
                SDL_GetRGBA(v, s->format, &r, &g, &b, &a);
                if (a == 0 || x + i < 0 || y + j < 0 || x + i >= w || y + j >= h)
                    continue;
                Color& fondo = px[static_cast<size_t>((y + j) * w + x + i)];
                fondo = Mezcla(fondo, c, a / 255.0);
            }
        }
        SDL_UnlockSurface(s);
        SDL_FreeSurface(s);
    }

    bool GuardaPNG(const std::string& path) const
    {
        FILE* f = fopen(path.c_str(), "wb");
        if (f == nullptr)
            return false;
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        if (setjmp(png_jmpbuf(png))) {
            png_destroy_write_struct(&png, &info);
            fclose(f);
            return false;
        }
        png_init_io(png, f);
        // No time or text chunks: the same image gives the same bytes.
        png_set_compression_level(png, 9);
        png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8, PNG_COLOR_TYPE_RGB,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        std::vector<png_byte> fila(static_cast<size_t>(w * 3));
        for (int y = 0; y < h; y++) {
            for (int x = 0; x < w; x++) {
                const Color& c = px[static_cast<size_t>(y * w + x)];
                fila[static_cast<size_t>(x * 3)] = static_cast<png_byte>(c.r);
                fila[static_cast<size_t>(x * 3 + 1)] = static_cast<png_byte>(c.g);
                fila[static_cast<size_t>(x * 3 + 2)] = static_cast<png_byte>(c.b);
            }
            png_write_row(png, fila.data());
        }
        png_write_end(png, nullptr);
        png_destroy_write_struct(&png, &info);
        return fclose(f) == 0;
    }

private:
    int w, h;
    std::vector<Color> px;
};

// The title in letters built from small blocks, 5 wide and 7 high.
struct Letra {
    char nombre;
    const char* filas[7];
};

const Letra ALFABETO[] = {
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'I', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'N', {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
};

void Titulo(Lienzo& lienzo, const char* palabra, int x, int y, int lado)
{
    int letra = 0;
    for (const char* p = palabra; *p; p++, letra++) {
        for (const Letra& l : ALFABETO) {
            if (l.nombre != *p)
                continue;
            for (int j = 0; j < 7; j++)
                for (int i = 0; i < 5; i++)
                    if (l.filas[j][i] == '#')
                        lienzo.Bloque(x + i * lado, y + j * lado, lado, COLORES_BLOQUE[letra % TIPOS_BLOQUES]);
        }
        x += 6 * lado;
    }
}

void Menu(Lienzo& m, TTF_Font* grande, TTF_Font* chica)
{
    m.DegradadoVertical(FONDO_ARRIBA, FONDO_ABAJO);
    // A few pieces drifting down the sides.
    const struct {
        int x, y, color;
    } sueltos[] = {{8, 150, 0},  {18, 150, 0}, {8, 160, 0},  {8, 170, 0},  {292, 120, 1}, {292, 130, 1},
                   {292, 140, 1}, {292, 150, 1}, {36, 214, 2}, {46, 214, 2}, {56, 214, 2}, {46, 224, 2},
                   {276, 196, 0}, {286, 196, 0}, {296, 196, 0}, {296, 206, 0}};
    for (const auto& s : sueltos)
        m.Bloque(s.x, s.y, LADO_BLOQUE, COLORES_BLOQUE[s.color]);

    Titulo(m, "BRIKANDO", 40, 22, 5);
    m.Escribe(grande, "Pulsa ENTER para jugar", ANCHO / 2, 74, BLANCO, Lienzo::CENTRO);
    m.Escribe(chica, "ESC para salir", ANCHO / 2, 94, TEXTO_SUAVE, Lienzo::CENTRO);

    m.Rect(70, 118, 180, 108, Mezcla(POZO, FONDO_ARRIBA, 0.4));
    m.Marco(70, 118, 180, 108, 1, MARCO);
    m.Escribe(grande, "Controles", ANCHO / 2, 122, BLANCO, Lienzo::CENTRO);
    const char* const teclas[][2] = {{"\u2190 \u2192", "mover"}, {"\u2191", "girar"}, {"\u2193", "bajar deprisa"},
                                     {"P", "pausa"},             {"ESC", "volver al men\u00fa"}};
    int y = 144;
    for (const auto& t : teclas) {
        m.Escribe(chica, t[0], 118, y, AMARILLO, Lienzo::CENTRO);
        m.Escribe(chica, t[1], 142, y, TEXTO_SUAVE);
        y += 15;
    }
}

void Fondo(Lienzo& f, TTF_Font* chica)
{
    f.DegradadoVertical(FONDO_ARRIBA, FONDO_ABAJO);

    // The well, exactly where the board is drawn, with faint cell lines.
    const int ancho_pozo = ANCHO_MAPA * LADO_BLOQUE;
    const int alto_pozo = ALTO_MAPA * LADO_BLOQUE;
    f.Rect(DESFASE_X, DESFASE_Y, ancho_pozo, alto_pozo, POZO);
    for (int n = 1; n < ANCHO_MAPA; n++)
        f.Rect(DESFASE_X + n * LADO_BLOQUE, DESFASE_Y, 1, alto_pozo, REJILLA);
    for (int k = 1; k < ALTO_MAPA; k++)
        f.Rect(DESFASE_X, DESFASE_Y + k * LADO_BLOQUE, ancho_pozo, 1, REJILLA);
    f.Marco(DESFASE_X, DESFASE_Y, ancho_pozo, alto_pozo, 1, NEGRO);
    f.Marco(DESFASE_X - 1, DESFASE_Y - 1, ancho_pozo + 2, alto_pozo + 2, 2, MARCO);

    // The score: a label above the place where the number is drawn.
    f.Rect(X_PUNTAJE - 4, 10, ANCHO - X_PUNTAJE, 38, POZO);
    f.Marco(X_PUNTAJE - 4, 10, ANCHO - X_PUNTAJE, 38, 1, MARCO);
    f.Escribe(chica, "PUNTOS", X_PUNTAJE, 12, TEXTO_SUAVE);

    // The next piece: a 40x40 box at the preview's screen place.
    const int x_caja = X_SIGUIENTE + DESFASE_X;
    const int y_caja = Y_SIGUIENTE + DESFASE_Y;
    const int lado_caja = LADO_FIGURA * LADO_BLOQUE;
    f.Rect(x_caja, y_caja, lado_caja, lado_caja, POZO);
    f.Marco(x_caja, y_caja, lado_caja, lado_caja, 1, MARCO);
    f.Escribe(chica, "SIGUIENTE", x_caja + lado_caja, y_caja - 16, TEXTO_SUAVE, Lienzo::DERECHA);

    // A reminder of the keys on the left.
    Titulo(f, "BRIKANDO", 6, 14, 2);
    const char* const ayuda[] = {"\u2190 \u2192  mover", "\u2191  girar", "\u2193  bajar", "P  pausa", "ESC  men\u00fa"};
    int y = 130;
    for (const char* linea : ayuda) {
        f.Escribe(chica, linea, 10, y, TEXTO_SUAVE);
        y += 15;
    }
}

// The desktop icon: a few pieces settling in a dark well, cells of a
// quarter of its side.
void Icono(Lienzo& icono, int lado)
{
    icono.Rect(0, 0, lado, lado, POZO);
    const char* const filas[] = {"..0.", ".000", "1.22", "1122"};
    const int celda = lado / 4;
    for (int j = 0; j < 4; j++)
        for (int i = 0; i < 4; i++)
            if (filas[j][i] != '.')
                icono.Bloque(i * celda, j * celda, celda, COLORES_BLOQUE[filas[j][i] - '0']);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        fprintf(stderr, "usage: %s FONT.ttf IMG_DIR ICON_DIR\n", argv[0]);
        return 2;
    }
    const std::string fuente = argv[1];
    const std::string salida = argv[2];
    const std::string iconos = argv[3];
    if (TTF_Init() < 0) {
        fprintf(stderr, "TTF_Init: %s\n", TTF_GetError());
        return 1;
    }
    TTF_Font* grande = TTF_OpenFont(fuente.c_str(), 13);
    TTF_Font* chica = TTF_OpenFont(fuente.c_str(), 9);
    if (grande == nullptr || chica == nullptr) {
        fprintf(stderr, "%s: %s\n", fuente.c_str(), TTF_GetError());
        return 1;
    }

    bool bien = true;
    Lienzo menu(ANCHO, ALTO);
    Menu(menu, grande, chica);
    bien = menu.GuardaPNG(salida + "/menu_principal.png") && bien;

    Lienzo fondo(ANCHO, ALTO);
    Fondo(fondo, chica);
    bien = fondo.GuardaPNG(salida + "/BackGroundT.png") && bien;

    for (int k = 0; k < TIPOS_BLOQUES; k++) {
        Lienzo bloque(LADO_BLOQUE, LADO_BLOQUE);
        bloque.Bloque(0, 0, LADO_BLOQUE, COLORES_BLOQUE[k]);
        bien = bloque.GuardaPNG(salida + "/block" + std::to_string(k) + ".png") && bien;
    }

    for (int lado : {32, 48, 64, 128, 256}) {
        Lienzo icono(lado, lado);
        Icono(icono, lado);
        bien = icono.GuardaPNG(iconos + "/brikando-" + std::to_string(lado) + ".png") && bien;
    }

    TTF_CloseFont(grande);
    TTF_CloseFont(chica);
    TTF_Quit();
    if (!bien)
        fprintf(stderr, "could not write the images to %s and %s\n", salida.c_str(), iconos.c_str());
    return bien ? 0 : 1;
}
