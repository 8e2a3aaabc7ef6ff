#include "apoyo.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace apoyo {

Block* bloque[TIPOS_BLOQUES] = {};
Texto* t_puntaje = new Texto;
static SDL_Surface* imagenes[TIPOS_BLOQUES];  // to recognise the blocks on the screen

bool Arranca()
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    // Pad events are pushed as Linux numbers them, which sdl12-compat's
    // game-controller layout would not read.
    setenv("SDL12COMPAT_USE_GAME_CONTROLLERS", "0", 1);
    if (Inicia_SDL() != 0 || InicializaSprites(bloque, *t_puntaje) != 0)
        return false;
    for (int k = 0; k < TIPOS_BLOQUES; k++)
        imagenes[k] = CargaImagen(("recursos/img/block" + std::to_string(k) + ".png").c_str());
    return true;
}

static Uint64 reloj_us;
static Uint64 tranquilo_hasta_us;  // what the last sleep said: nothing changes before it without input
static std::function<void()> despierta;  // after each sleep, in JuegaMain

void SimulaReloj(Uint32 inicio_ms)
{
    reloj_us = static_cast<Uint64>(inicio_ms) * 1000;
    despierta = nullptr;
    Timer::UsaReloj([] { return static_cast<Uint32>(reloj_us / 1000); }, [] { return reloj_us; },
                    [](Uint64 us, Uint64 tranquilo_us) {
                        tranquilo_hasta_us = reloj_us + std::min(tranquilo_us, Uint64{1} << 40);
                        reloj_us += us;
                        if (despierta)
                            despierta();
                    });
}

void AvanzaMicros(Uint64 us)
{
    reloj_us += us;
}

static char Caracter(int v)
{
    return v == 0 ? '.' : static_cast<char>('0' + v);
}

void Rellena(Cuadricula& mapa, const Filas& filas)
{
    mapa.ResetMap();
    for (size_t k = 0; k < filas.size(); k++)
        for (int n = 0; n < mapa.GetW(); n++)
            mapa.GetCuadricula()[mapa.GetH() - filas.size() + k][n] = filas[k][n] == '.' ? 0
                                                                       : filas[k][n] == '#' ? 1 : filas[k][n] - '0';
}

std::string Tablero(Cuadricula& mapa)
{
    std::string texto;
    for (int k = 0; k < mapa.GetH(); k++) {
        for (int n = 0; n < mapa.GetW(); n++)
            texto += Caracter(mapa.GetCuadricula()[k][n]);
        texto += '\n';
    }
    return texto;
}

std::string Forma(Figures pieza)
{
    struct {
        int m[4][4];
        int tras = 0x7A5;  // GetMapa writes its 16 cells, not one past them
    } copia;
    pieza.GetMapa(copia.m);
    std::string texto = copia.tras == 0x7A5 ? "" : "written past the shape\n";
    for (auto& fila : copia.m)
        texto += std::string{Caracter(fila[0]), Caracter(fila[1]), Caracter(fila[2]), Caracter(fila[3]), '\n'};
    return texto;
}

Figures Pieza(Filas filas, int x, int y, int tipo)
{
    filas.resize(LADO_FIGURA, "....");
    FILE* archivo = tmpfile();  // read back through its descriptor: nothing to clean up
    for (std::string fila : filas) {
        std::replace(fila.begin(), fila.end(), '.', '0');
        fprintf(archivo, "%s\n", fila.c_str());
    }
    fflush(archivo);
    Figures pieza;
    pieza.Iniciar(x, y, 0, VELOCIDAD_FIGURA, tipo, ("/proc/self/fd/" + std::to_string(fileno(archivo))).c_str());
    fclose(archivo);
    return pieza;
}

void Sostiene(SDLKey tecla, bool sostenida)
{
    SDL_GetKeyState(nullptr)[tecla] = sostenida;
}

void Pulsa(SDLKey tecla)
{
    SDL_Event evento = {};
    evento.type = tecla == SDLK_UNKNOWN ? SDL_QUIT : SDL_KEYDOWN;
    evento.key.keysym.sym = tecla;
    SDL_PushEvent(&evento);
}

static void Mando(Uint8 tipo, int numero, int valor)
{
    SDL_Event evento = {};
    if (tipo == SDL_JOYAXISMOTION)
        evento.jaxis = {tipo, 0, static_cast<Uint8>(numero), static_cast<Sint16>(valor)};
    else  // a hat's event is laid out as a button's
        evento.jbutton = {tipo, 0, static_cast<Uint8>(numero), static_cast<Uint8>(valor)};
    SDL_PushEvent(&evento);
}

// Whether the w x h pixels at (x, y) of the screen are those at (xb, yb) of b.
static bool Muestra(int x, int y, SDL_Surface* b, int xb, int yb, int w, int h)
{
    const int bytes = pantalla->format->BytesPerPixel;
    for (int j = 0; j < h; j++)
        if (memcmp(static_cast<Uint8*>(pantalla->pixels) + (y + j) * pantalla->pitch + x * bytes,
                   static_cast<Uint8*>(b->pixels) + (yb + j) * b->pitch + xb * bytes, w * bytes) != 0)
            return false;
    return true;
}

static std::string Celdas(int x, int y, int filas, int columnas)
{
    std::string texto;
    for (int k = 0; k < filas; k++) {
        for (int n = 0; n < columnas; n++) {
            const int cx = x + n * LADO_BLOQUE, cy = y + k * LADO_BLOQUE;
            char c = Muestra(cx, cy, background_game, cx, cy, LADO_BLOQUE, LADO_BLOQUE) ? '.' : '?';
            for (int i = 0; i < TIPOS_BLOQUES && c == '?'; i++)
                c = Muestra(cx, cy, imagenes[i], 0, 0, LADO_BLOQUE, LADO_BLOQUE) ? Caracter(i + 1) : c;
            texto += c;
        }
        texto += '\n';
    }
    return texto;
}

// The score's pixels, from the label's place to the right edge of s.
static size_t HashEtiqueta(SDL_Surface* s)
{
    const int bytes = s->format->BytesPerPixel;
    size_t hash = 0;
    for (int y = Y_PUNTAJE; y < Y_PUNTAJE + 20; y++)
        for (int x = X_PUNTAJE * bytes; x < ANCHO * bytes; x++)
            hash = hash * 131 + static_cast<Uint8*>(s->pixels)[y * s->pitch + x];
    return hash;
}

Cuadro LeePantalla(Uint32 ms)
{
    if (Muestra(0, 0, menu_principal, 0, 0, ANCHO, ALTO))
        return {ms, "menu", 0};
    return {ms,
            Celdas(DESFASE_X, DESFASE_Y, ALTO_MAPA, ANCHO_MAPA) +
                Celdas(DESFASE_X + X_SIGUIENTE, DESFASE_Y + Y_SIGUIENTE, LADO_FIGURA, LADO_FIGURA),
            HashEtiqueta(pantalla)};
}

size_t Etiqueta(unsigned int numero)
{
    static TTF_Font* fuente = TTF_OpenFont("recursos/fonts/comicsans.ttf", 12);
    SDL_Surface* lienzo = SDL_ConvertSurface(background_game, pantalla->format, 0);
    SDL_Surface* texto = TTF_RenderText_Blended(fuente, std::to_string(numero).c_str(), SDL_Color{255, 255, 255, 0});
    SDL_Rect donde = {X_PUNTAJE, Y_PUNTAJE, 0, 0};
    SDL_BlitSurface(texto, nullptr, lienzo, &donde);
    const size_t hash = HashEtiqueta(lienzo);
    SDL_FreeSurface(texto);
    SDL_FreeSurface(lienzo);
    return hash;
}

int JuegaMain(unsigned semilla, const std::function<void(Uint32 ms)>& turno, Uint32 limite_ms)
{
    // main loads these itself, and frees them.
    SDL_FreeSurface(menu_principal);
    SDL_FreeSurface(background_game);
    const auto suelta = [] {
        int n = 0;
        memset(SDL_GetKeyState(&n), 0, n);
        for (SDL_Event evento; SDL_PollEvent(&evento);) {
        }
    };
    suelta();
    SimulaReloj(1000);
    bool sembrado = false, agotado = false;
    despierta = [&] {
        const Uint32 ms = static_cast<Uint32>(reloj_us / 1000) - 1000;
        if (!sembrado)  // after main's own srand, before its first piece
            srand(semilla);
        sembrado = true;
        agotado = agotado || ms > limite_ms;
        if (agotado)
            Pulsa(SDLK_UNKNOWN);
        else
            turno(ms);
    };
    char nombre[] = "brikando";
    char* argv[] = {nombre, nullptr};
    const int resultado = main_del_juego(1, argv);
    despierta = nullptr;
    suelta();
    menu_principal = CargaImagen("recursos/img/menu_principal.png");
    background_game = CargaImagen("recursos/img/BackGroundT.png");
    return agotado ? -1 : resultado;
}

std::vector<Cuadro> JuegaGuion(unsigned semilla, const std::vector<Paso>& guion, int* salida)
{
    std::vector<Cuadro> cuadros;
    size_t siguiente = 0;
    Uint8 marca = 0;
    const int resultado = JuegaMain(semilla, [&](Uint32 ms) {
        Uint8& esquina = *static_cast<Uint8*>(pantalla->pixels);
        cuadros.push_back(LeePantalla(ms - MILISEGUNDOS_LOOP));
        cuadros.back().compuesto = esquina != marca;
        cuadros.back().tranquilo = static_cast<Uint32>(std::min<Uint64>(tranquilo_hasta_us / 1000 - 1000, UINT32_MAX));
        if (cuadros.back().compuesto)
            marca = esquina ^ 0xFF;
        for (; siguiente < guion.size() && guion[siguiente].ms <= ms; siguiente++) {
            const Paso& p = guion[siguiente];
            const SDLKey tecla = static_cast<SDLKey>(p.tecla);
            if (p.accion == Paso::PULSA)
                Pulsa(tecla);
            else if (p.accion == Paso::SOSTIENE || p.accion == Paso::SUELTA)
                Sostiene(tecla, p.accion == Paso::SOSTIENE);
            else if (p.accion == Paso::BOTON)
                Mando(p.valor ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP, p.tecla, p.valor);
            else if (p.accion == Paso::EJE)
                Mando(SDL_JOYAXISMOTION, p.tecla, p.valor);
            else
                Mando(SDL_JOYHATMOTION, p.tecla, p.valor);
        }
        if (cuadros.back().pantalla != "menu")
            esquina = marca;
    }, guion.back().ms + 5000);
    if (salida != nullptr)
        *salida = resultado;
    return cuadros;
}

}  // namespace apoyo
