#include "apoyo.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace apoyo {

Block* bloque[TIPOS_BLOQUES] = {};
Texto* t_puntaje = nullptr;

static SDL_Surface* imagenes[TIPOS_BLOQUES] = {};
static Uint64 reloj_us = 0;

bool Arranca()
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    t_puntaje = new Texto;
    if (Inicia_SDL() != 0 || InicializaSprites(bloque, *t_puntaje) != 0)
        return false;
    for (int k = 0; k < TIPOS_BLOQUES; k++) {
        char path[32];
        snprintf(path, sizeof path, "recursos/img/block%d.png", k);
        imagenes[k] = CargaImagen(path);
    }
    return true;
}

void Apaga()
{
    for (SDL_Surface*& imagen : imagenes) {
        SDL_FreeSurface(imagen);
        imagen = nullptr;
    }
    // The label's font must go while SDL_ttf is still up.
    delete t_puntaje;
    t_puntaje = nullptr;
    Finaliza(bloque);
}

static Uint32 TicksSimulados()
{
    return static_cast<Uint32>(reloj_us / 1000);
}

static Uint64 MicrosSimulados()
{
    return reloj_us;
}

void SimulaReloj(Uint32 inicio_ms, void (*duerme)(Uint64 us))
{
    reloj_us = static_cast<Uint64>(inicio_ms) * 1000;
    Timer::UsaReloj(TicksSimulados, MicrosSimulados, duerme);
}

void AvanzaReloj(Uint32 ms)
{
    reloj_us += static_cast<Uint64>(ms) * 1000;
}

void AvanzaMicros(Uint64 us)
{
    reloj_us += us;
}

Uint32 Ahora()
{
    return Timer::Ticks();
}

void RelojReal()
{
    Timer::UsaReloj(nullptr, nullptr, nullptr);
}

static int Celda(char c)
{
    return c == '.' ? 0 : c == '#' ? 1 : c - '0';
}

static char Caracter(int v)
{
    return v == 0 ? '.' : static_cast<char>('0' + v);
}

void Rellena(Cuadricula& mapa, const std::vector<std::string>& filas)
{
    mapa.ResetMap();
    const int primera = mapa.GetH() - static_cast<int>(filas.size());
    for (size_t k = 0; k < filas.size(); k++)
        for (int n = 0; n < mapa.GetW(); n++)
            mapa.GetCuadricula()[primera + static_cast<int>(k)][n] = Celda(filas[k][static_cast<size_t>(n)]);
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

void CasiLleno(Cuadricula& mapa)
{
    for (int k = 1; k < ALTO_MAPA; k++)
        for (int n = 0; n < ANCHO_MAPA; n++)
            mapa.GetCuadricula()[k][n] = n == (k * 3) % ANCHO_MAPA ? 0 : 1 + (k + n) % TIPOS_BLOQUES;
}

std::string Forma(Figures pieza)
{
    int m[4][4];
    pieza.GetMapa(m);
    std::string texto;
    for (auto& fila : m) {
        for (int v : fila)
            texto += Caracter(v);
        texto += '\n';
    }
    return texto;
}

void Figura(int mapa_figura[][4], const std::vector<std::string>& filas)
{
    for (int k = 0; k < 4; k++)
        for (int n = 0; n < 4; n++)
            mapa_figura[k][n] = Celda(filas[static_cast<size_t>(k)][static_cast<size_t>(n)]);
}

// A plain array: it outlives every static string, so the exit handler can use it.
static char dir_temporal[4096];

static void BorraDirTemporal()
{
    std::error_code ignorado;
    std::filesystem::remove_all(dir_temporal, ignorado);
}

std::string RutaTemporal(const std::string& nombre)
{
    if (dir_temporal[0] == '\0') {
        const std::string plantilla = (std::filesystem::temp_directory_path() / "brikando_prueba_XXXXXX").string();
        snprintf(dir_temporal, sizeof dir_temporal, "%s", plantilla.c_str());
        if (mkdtemp(dir_temporal) == nullptr) {
            perror("mkdtemp");
            abort();
        }
        atexit(BorraDirTemporal);
    }
    return std::string(dir_temporal) + "/" + nombre;
}

void EscribeArchivo(const std::string& path, const std::string& contenido)
{
    std::ofstream(path, std::ios::binary) << contenido;
}

void Sostiene(SDLKey tecla, bool sostenida)
{
    SDL_GetKeyState(nullptr)[tecla] = sostenida ? 1 : 0;
}

void SueltaTodo()
{
    int n = 0;
    Uint8* teclas = SDL_GetKeyState(&n);
    for (int k = 0; k < n; k++)
        teclas[k] = 0;
}

bool Pulsa(SDLKey tecla)
{
    SDL_Event evento = {};
    if (tecla == SDLK_UNKNOWN) {
        evento.type = SDL_QUIT;
    } else {
        evento.type = SDL_KEYDOWN;
        evento.key.state = SDL_PRESSED;
        evento.key.keysym.sym = tecla;
    }
    return SDL_PushEvent(&evento) == 0;
}

void VaciaCola()
{
    SDL_Event evento;
    while (SDL_PollEvent(&evento)) {
    }
}

std::vector<Uint8> Captura()
{
    SDL_LockSurface(pantalla);
    const Uint8* p = static_cast<const Uint8*>(pantalla->pixels);
    std::vector<Uint8> copia(p, p + pantalla->pitch * pantalla->h);
    SDL_UnlockSurface(pantalla);
    return copia;
}

Uint32 Pixel(SDL_Surface* superficie, int x, int y)
{
    SDL_LockSurface(superficie);
    const Uint8* p = static_cast<const Uint8*>(superficie->pixels) + y * superficie->pitch +
                     x * superficie->format->BytesPerPixel;
    Uint32 valor = 0;
    for (int b = 0; b < superficie->format->BytesPerPixel; b++)
        valor |= static_cast<Uint32>(p[b]) << (8 * b);
    SDL_UnlockSurface(superficie);
    Uint8 r, g, b;
    SDL_GetRGB(valor, superficie->format, &r, &g, &b);
    return static_cast<Uint32>(r << 16 | g << 8 | b);
}

bool CeldaMuestra(int x, int y, int imagen)
{
    for (int j = 0; j < LADO_BLOQUE; j++)
        for (int i = 0; i < LADO_BLOQUE; i++)
            if (Pixel(pantalla, x + i, y + j) != Pixel(imagenes[imagen], i, j))
                return false;
    return true;
}

void Partida::Pasada()
{
    fps_tim.ResetTime();
    if (estado == ACTIVO)
        PasoJuego(figura_actual, figura_siguiente, bloque, mapa, *t_puntaje, puntaje, fps_tim, figmove_tim, key_tim,
                  borrados_linea_tim, fig_delay, key_delay, done, estado, parada, pause);
    else if (estado == MENU)
        PasoMenu(rectangulo_menu_principal, done, estado, pause, fps_tim);
}

void Partida::Juega(Uint32 ms)
{
    const Uint32 fin = Ahora() + ms;
    while (static_cast<Sint32>(Ahora() - fin) < 0)
        Pasada();
}

}  // namespace apoyo
