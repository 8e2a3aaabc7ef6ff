#include "principal.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include <SDL_ttf.h>

#include "constantes.h"
#include "mando.h"
#include "ventana.h"

SDL_Surface* pantalla = nullptr;
SDL_Surface* menu_principal = nullptr;
SDL_Surface* background_game = nullptr;

// A start-up failure: our message and SDL's reason, as one line.
static void Informa(const char* mensaje)
{
    printf("%s%s\n", mensaje, SDL_GetError());
    fflush(stdout);
}

namespace {

// What the last play frame presented showed: everything Dibujar draws that a
// pass can change. Most passes would present that very picture again, and
// compose nothing instead.
class Presentado {
public:
    // Whether a frame of these would differ from the last one presented; if
    // it would, it becomes the last one.
    bool Cambia(unsigned int puntaje, Figures& figura_actual, Figures& figura_siguiente, Cuadricula& mapa);
    void Olvida() { valido = false; }

private:
    struct Pieza {
        int x, y, tipo;
        int mapa[4][4];
    };
    static bool Toma(Pieza& vista, Figures& figura);

    bool valido = false;
    unsigned int puntaje_visto = 0;
    Pieza actual = {}, siguiente = {};
    std::vector<int> celdas;
};

bool Presentado::Toma(Pieza& vista, Figures& figura)
{
    Pieza ahora = {figura.GetX(), figura.GetY(), figura.GetTipo(), {}};
    figura.GetMapa(ahora.mapa);
    const bool cambia = memcmp(&ahora, &vista, sizeof ahora) != 0;
    vista = ahora;
    return cambia;
}

bool Presentado::Cambia(unsigned int puntaje, Figures& figura_actual, Figures& figura_siguiente, Cuadricula& mapa)
{
    bool cambia = !valido || puntaje != puntaje_visto;
    cambia = Toma(actual, figura_actual) || cambia;
    cambia = Toma(siguiente, figura_siguiente) || cambia;
    const size_t ancho = static_cast<size_t>(mapa.GetW());
    celdas.resize(static_cast<size_t>(mapa.GetH()) * ancho);
    for (int k = 0; k < mapa.GetH(); k++) {
        int* fila = &celdas[static_cast<size_t>(k) * ancho];
        if (memcmp(fila, mapa.GetCuadricula()[k], ancho * sizeof(int)) != 0) {
            memcpy(fila, mapa.GetCuadricula()[k], ancho * sizeof(int));
            cambia = true;
        }
    }
    valido = true;
    puntaje_visto = puntaje;
    return cambia;
}

Presentado presentado;

}  // namespace

static void RutaFigura(char* path, size_t tam, int tipo)
{
    snprintf(path, tam, "recursos/maps_figures/map%d.txt", tipo);
}

int Inicia_SDL()
{
    // Both are read while SDL starts.
    PreparaVentana();
    PreparaMandos();
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        Informa("No se puede iniciar SDL: ");
        return 1;
    }
    SDL_ShowCursor(SDL_DISABLE);
    if (TTF_Init() < 0) {
        Informa("No se puede iniciar SDL_ttf: ");
        return 1;
    }
    // The display's format makes flips plain copies; system memory keeps half-drawn frames off-screen.
    pantalla = AbreVentana(ANCHO, ALTO, 24, SDL_SWSURFACE | SDL_ANYFORMAT);
    if (pantalla == nullptr) {
        // The message is Latin-1, like the console it was written for.
        Informa("No se puede iniciar el modo de v\xED"
                "deo: ");
        return 1;
    }
    AbreMandos();
    return 0;
}

int InicializaSprites(Block** bloque, Texto& t_puntaje)
{
    menu_principal = CargaImagen("recursos/img/menu_principal.png");
    if (menu_principal == nullptr) {
        Informa("Imposible cargar imagen del menu principal. Path: 'recursos/img/menu_principal.png' :");
        return 1;
    }
    background_game = CargaImagen("recursos/img/BackGroundT.png");
    if (background_game == nullptr) {
        Informa("Imposible cargar imagen del background. Path: 'recursos/img/BackGroundT.png' :");
        return 1;
    }
    for (int k = 0; k < TIPOS_BLOQUES; k++) {
        bloque[k] = new Block(LADO_BLOQUE, LADO_BLOQUE);
        char path[32];
        snprintf(path, sizeof path, "recursos/img/block%d.png", k);
        if (bloque[k]->Cargar_IMG(path) == 1) {
            char mensaje[96];
            snprintf(mensaje, sizeof mensaje, "Imposible cargar imagen del bloque. Path: '%s' :", path);
            Informa(mensaje);
            return 1;
        }
    }
    if (t_puntaje.SetFont("recursos/fonts/comicsans.ttf") == 1) {
        Informa("Imposible cargar fuente. Path: 'recursos/fonts/comicsans.ttf' :");
        return 1;
    }
    t_puntaje.SetPosX(X_PUNTAJE);
    t_puntaje.SetPosY(Y_PUNTAJE);
    return 0;
}

int CompruebaFiguras()
{
    // Shapes are read again at every spawn; a broken one is refused here,
    // where the player can still be told which file it is.
    for (int tipo = 0; tipo < TIPOS_FIGURAS; tipo++) {
        char path[64];
        RutaFigura(path, sizeof path, tipo);
        int mapa_figura[4][4];
        if (!LeeFigura(path, mapa_figura)) {
            SDL_SetError("ilegible, incompleta o sin bloques");
            char mensaje[128];
            snprintf(mensaje, sizeof mensaje, "Imposible cargar figura. Path: '%s' :", path);
            Informa(mensaje);
            return 1;
        }
    }
    return 0;
}

void Inicializa(SDL_Rect& rectangulo_menu_principal)
{
    srand(static_cast<unsigned int>(time(nullptr)));
    rectangulo_menu_principal.x = 0;
    rectangulo_menu_principal.y = 0;
    rectangulo_menu_principal.w = static_cast<Uint16>(menu_principal->w);
    rectangulo_menu_principal.h = static_cast<Uint16>(menu_principal->h);
    SDL_WM_SetCaption("Brikando", nullptr);
}

int CompruebaEventos()
{
    SDL_Event evento;
    while (SDL_PollEvent(&evento)) {
        if (evento.type == SDL_QUIT)
            return QUIT;
        // A window hidden and shown again may come back blank (sdl12-compat
        // keeps no copy of it); the screen still holds the picture last
        // presented, so present it again.
        if (evento.type == SDL_VIDEOEXPOSE ||
            (evento.type == SDL_ACTIVEEVENT && evento.active.gain && (evento.active.state & SDL_APPACTIVE))) {
            if (pantalla != nullptr)
                SDL_Flip(pantalla);
            continue;
        }
        // Full screen and back is the window's business, not the game's.
        if (evento.type == SDL_KEYDOWN && evento.key.keysym.sym == SDLK_F11) {
            CambiaPantallaCompleta(pantalla);
            continue;
        }
        if (evento.type != SDL_KEYDOWN) {
            const int mando = EventoMando(evento);
            if (mando != NO_EVENTOS)
                return mando;
            continue;
        }
        switch (evento.key.keysym.sym) {
        case SDLK_ESCAPE:
            return ESCAPE;
        case SDLK_RETURN:
            return ENTER;
        case SDLK_p:
            return K_PAUSE;
        default:
            break;
        }
    }
    return SondeaMandos();
}

void Finaliza(Block** bloque)
{
    CierraMandos();
    for (int k = 0; k < TIPOS_BLOQUES; k++) {
        delete bloque[k];
        bloque[k] = nullptr;
    }
    SDL_FreeSurface(menu_principal);
    SDL_FreeSurface(background_game);
    menu_principal = nullptr;
    background_game = nullptr;
    // At exit SDL_Quit runs first, then TTF_Quit, after main's locals (the
    // score label's font among them) are gone.
    atexit(TTF_Quit);
    atexit(SDL_Quit);
}

int NuevaFigura(Figures& figura_actual, Figures& figura_siguiente, [[maybe_unused]] Block** bloque,
                Cuadricula& mapa)
{
    char path[64];
    if (figura_siguiente.GetActivo()) {
        figura_actual = figura_siguiente;
        figura_actual.SetX(X_SALIDA);
        figura_actual.SetY(Y_SALIDA);
        figura_actual.SetVelocity(VELOCIDAD_FIGURA);
    } else {
        const int tipo = rand() % TIPOS_FIGURAS;
        RutaFigura(path, sizeof path, tipo);
        figura_actual.Iniciar(X_SALIDA, Y_SALIDA, 0, VELOCIDAD_FIGURA, tipo, path);
    }

    int mapa_figura[4][4];
    figura_actual.GetMapa(mapa_figura);
    if (mapa.Colision(figura_actual.GetX(), figura_actual.GetY(), mapa_figura) == COLISION)
        return 1;

    const int tipo = rand() % TIPOS_FIGURAS;
    RutaFigura(path, sizeof path, tipo);
    figura_siguiente.Iniciar(X_SIGUIENTE, Y_SIGUIENTE, 0, 0, tipo, path);
    return 0;
}

void ResetGame(unsigned int& puntaje, Timer& borrados_linea_tim, Cuadricula& mapa, Figures& figura_actual,
               Figures& figura_siguiente)
{
    puntaje = 0;
    borrados_linea_tim.ResetTime();
    mapa.ResetMap();
    figura_actual.Finaliza();
    figura_siguiente.Finaliza();
}

void BorraFila(int posy, Timer& borrados_linea_tim, unsigned int& puntaje, Cuadricula& mapa)
{
    // A landed piece can only complete the rows its square covers. Going
    // top-down, a removal moves only rows already examined, so each row of
    // the window is judged as it was when the piece landed.
    unsigned int filas_borradas = 0;
    for (int k = 0; k < LADO_FIGURA; k++) {
        const int fila = posy + k;
        if (fila >= ALTO_MAPA)
            break;
        if (mapa.EstaLlena(fila)) {
            mapa.BorraFila(fila);
            mapa.BajaMapa(fila);
            filas_borradas++;
        }
    }
    if (filas_borradas != 0)
        AumentarPuntaje(puntaje, borrados_linea_tim, filas_borradas);
}

void AumentarPuntaje(unsigned int& puntaje, Timer& borrados_linea_tim, unsigned int& filas_borradas)
{
    const int t = borrados_linea_tim.GetCurrentTime();
    // t is never 0 in play (fall steps are 70 ms apart at least); a wrapped
    // or same-millisecond reading earns no speed bonus rather than a crash.
    const unsigned int veces = t > 0 ? static_cast<unsigned int>(TIEMPO_REFERENCIA / t) : 0;
    // Unsigned on purpose: the score wraps rather than overflowing.
    puntaje += PTOS_POR_FILA * filas_borradas + BONUS_VARIAS_FILAS * (filas_borradas - 1) + BONUS_TIEMPO * veces;
    borrados_linea_tim.ResetTime();
}

void OlvidaCuadro()
{
    presentado.Olvida();
}

void Dibujar(unsigned int puntaje, Figures figura_actual, Figures figura_siguiente, Block** bloque, Cuadricula& mapa,
             Texto& t_puntaje)
{
    // The screen already shows this frame: a pass where nothing moved costs
    // no composing and no presenting.
    if (!presentado.Cambia(puntaje, figura_actual, figura_siguiente, mapa))
        return;
    // The background is the only thing that erases the previous frame.
    SDL_Rect rectangulo;
    rectangulo.x = 0;
    rectangulo.y = 0;
    rectangulo.w = static_cast<Uint16>(background_game->w);
    rectangulo.h = static_cast<Uint16>(background_game->h);
    SDL_BlitSurface(background_game, nullptr, pantalla, &rectangulo);
    mapa.Dibujar(pantalla, bloque);
    figura_actual.Dibujar(pantalla, bloque[figura_actual.GetTipo()]);
    figura_siguiente.Dibujar(pantalla, bloque[figura_siguiente.GetTipo()]);
    t_puntaje.SetNum(static_cast<int>(puntaje));
    t_puntaje.DibujarText(pantalla);
    SDL_Flip(pantalla);
}

void RegulaPasada(Timer& fps_tim, int tranquilo_ms)
{
    const int fps_ticks = fps_tim.GetCurrentTime();
    if (fps_ticks < MILISEGUNDOS_LOOP)
        fps_tim.EsperaHasta(MILISEGUNDOS_LOOP, tranquilo_ms);
}

void PasoMenu(SDL_Rect& rectangulo_menu_principal, int& done, int& estado, bool& pause, Timer& fps_tim)
{
    SDL_BlitSurface(menu_principal, nullptr, pantalla, &rectangulo_menu_principal);
    SDL_Flip(pantalla);
    OlvidaCuadro();
    while (done == 0 && estado == MENU) {
        const int eventos = CompruebaEventos();
        if (eventos == ESCAPE || eventos == QUIT)
            done = 1;
        if (eventos == ENTER || eventos == INICIO) {
            pause = false;
            estado = ACTIVO;
            SueltaBotonA();
        }
        // Sleep rather than spin: the menu may be left waiting for hours on
        // a battery. One frame period keeps RETURN as quick as in play; only
        // input changes anything here.
        if (eventos == NO_EVENTOS)
            Timer::Duerme(MILISEGUNDOS_LOOP * 1000, Timer::SIN_LIMITE);
    }
    RegulaPasada(fps_tim);
}

void PasoJuego(Figures& figura_actual, Figures& figura_siguiente, Block** bloque, Cuadricula& mapa,
               Texto& t_puntaje, unsigned int& puntaje, Timer& fps_tim, Timer& figmove_tim, Timer& key_tim,
               Timer& borrados_linea_tim, int& fig_delay, int key_delay, int& done, int& estado, bool& parada,
               bool& pause)
{
    // Each step sees what the steps before it changed in this pass.
    auto viva = [&] { return figura_actual.GetActivo() && !pause; };

    if (!figura_actual.GetActivo() && !pause && NuevaFigura(figura_actual, figura_siguiente, bloque, mapa) == 1) {
        ResetGame(puntaje, borrados_linea_tim, mapa, figura_actual, figura_siguiente);
        estado = MENU;
    }

    // While paused the screen keeps the last frame.
    if (!pause)
        Dibujar(puntaje, figura_actual, figura_siguiente, bloque, mapa, t_puntaje);

    const int eventos = CompruebaEventos();
    const Uint8* keys = SDL_GetKeyState(nullptr);
    // A key and a pad held together count once.
    auto sostenida = [keys](SDLKey flecha) { return keys[flecha] || MandoSostiene(flecha); };

    // Held arrows are sampled, not queued: a tap between two samplings is lost.
    if (key_tim.GetCurrentTime() > key_delay && viva()) {
        if (sostenida(SDLK_LEFT))
            figura_actual.Mover(-LADO_BLOQUE, &mapa);
        if (sostenida(SDLK_RIGHT))
            figura_actual.Mover(LADO_BLOQUE, &mapa);
        if (sostenida(SDLK_UP))
            figura_actual.Girar(&mapa);
        key_tim.ResetTime();
    }

    if (viva())
        fig_delay = sostenida(SDLK_DOWN) ? RETARDO_CAIDA_RAPIDA : RETARDO_CAIDA;

    if (eventos == ESCAPE) {
        ResetGame(puntaje, borrados_linea_tim, mapa, figura_actual, figura_siguiente);
        estado = MENU;
    }
    if (eventos == QUIT)
        done = 1;
    if (eventos == K_PAUSE || eventos == INICIO)
        pause = !pause;

    bool cae = false;
    if (figmove_tim.GetCurrentTime() > fig_delay && viva()) {
        parada = figura_actual.Bajar(&mapa) != 0;
        figmove_tim.ResetTime();
        cae = true;
    }

    // No lock delay: a piece lands in the pass whose fall step fails.
    if (parada && viva()) {
        figura_actual.DibujaMapa(&mapa);
        BorraFila(figura_actual.GetY() / LADO_BLOQUE, borrados_linea_tim, puntaje, mapa);
    }
    if (parada)
        figura_actual.Finaliza();
    parada = false;

    // With nothing held or queued, and this pass's picture already shown,
    // nothing changes before the pass that lets the piece fall. A front end
    // that sees input coming may sleep through the passes before it; it
    // wakes one pass early, so that the fall comes when it would have.
    int tranquilo_ms = 0;
    if (pause)
        tranquilo_ms = INT_MAX;
    else if (viva() && !cae && eventos == NO_EVENTOS && !sostenida(SDLK_LEFT) && !sostenida(SDLK_RIGHT) &&
             !sostenida(SDLK_UP) && !sostenida(SDLK_DOWN))
        tranquilo_ms = (fig_delay - figmove_tim.GetCurrentTime() + fps_tim.GetCurrentTime()) /
                       MILISEGUNDOS_LOOP * MILISEGUNDOS_LOOP;
    RegulaPasada(fps_tim, tranquilo_ms);
}
