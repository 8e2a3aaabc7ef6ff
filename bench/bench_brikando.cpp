// What one frame and one pass cost, and the playfield's hot operations, on
// SDL's dummy 320x240x24 screen. Run from the build directory (it loads
// recursos/ as the game does): ./bench/bench_brikando

#include <benchmark/benchmark.h>

#include "apoyo.h"

using namespace apoyo;

namespace {

void EnJuego(Partida& p)
{
    p.estado = ACTIVO;
    p.figura_actual.Iniciar(X_SALIDA, Y_SALIDA, 0, VELOCIDAD_FIGURA, 0, "recursos/maps_figures/map0.txt");
    p.figura_siguiente.Iniciar(X_SIGUIENTE, Y_SIGUIENTE, 0, 0, 2, "recursos/maps_figures/map2.txt");
}

// Args: board (0 empty, 1 nearly full), score.
void BM_Dibujar(benchmark::State& estado)
{
    RelojSimulado reloj;
    Partida p;
    EnJuego(p);
    if (estado.range(0) != 0)
        CasiLleno(p.mapa);
    const unsigned int puntaje = static_cast<unsigned int>(estado.range(1));
    for (auto _ : estado)
        Dibujar(puntaje, p.figura_actual, p.figura_siguiente, bloque, p.mapa, *t_puntaje);
}
BENCHMARK(BM_Dibujar)->ArgNames({"lleno", "puntaje"})->Args({0, 0})->Args({0, 123456})->Args({1, 0})->Args({1, 123456});

// A pass of play on the simulated clock; the piece is lifted back before it lands.
void BM_PasoJuego(benchmark::State& estado)
{
    RelojSimulado reloj;
    SueltaTodo();
    Partida p;
    EnJuego(p);
    Sostiene(SDLK_DOWN, estado.range(0) != 0);
    for (auto _ : estado) {
        if (p.figura_actual.GetY() > 100)
            p.figura_actual.SetY(Y_SALIDA);
        p.Pasada();
    }
    SueltaTodo();
}
BENCHMARK(BM_PasoJuego)->ArgName("abajo")->Arg(0)->Arg(1);

// The pass in which a bar lands in the one empty column of four full rows.
void BM_PasoJuegoCuatroFilas(benchmark::State& estado)
{
    RelojSimulado reloj;
    Partida p;
    EnJuego(p);
    for (auto _ : estado) {
        estado.PauseTiming();
        Rellena(p.mapa, {".#########", ".#########", ".#########", ".#########"});
        p.figura_actual.Iniciar(0, 160, 0, VELOCIDAD_FIGURA, 1, "recursos/maps_figures/map1.txt");
        AvanzaReloj(1000);
        const unsigned int antes = p.puntaje;
        estado.ResumeTiming();
        p.Pasada();
        if (p.puntaje == antes)
            estado.SkipWithError("no rows removed");
    }
}
BENCHMARK(BM_PasoJuegoCuatroFilas);

void BM_Colision(benchmark::State& estado)
{
    Cuadricula mapa(ALTO_MAPA, ANCHO_MAPA);
    CasiLleno(mapa);
    int ele[4][4];
    Figura(ele, {"#...", "#...", "##..", "...."});
    int x = 0;
    for (auto _ : estado) {
        benchmark::DoNotOptimize(mapa.Colision(x, 0, ele));
        x = (x + LADO_BLOQUE) % (ANCHO_MAPA * LADO_BLOQUE);
    }
}
BENCHMARK(BM_Colision);

void BM_Girar(benchmark::State& estado)
{
    Cuadricula mapa(ALTO_MAPA, ANCHO_MAPA);
    Figures pieza;
    pieza.Iniciar(40, 40, 0, VELOCIDAD_FIGURA, 0, "recursos/maps_figures/map0.txt");
    for (auto _ : estado)
        benchmark::DoNotOptimize(pieza.Girar(&mapa));
}
BENCHMARK(BM_Girar);

void BM_LeeFigura(benchmark::State& estado)
{
    int m[4][4];
    for (auto _ : estado)
        benchmark::DoNotOptimize(LeeFigura("recursos/maps_figures/map0.txt", m));
}
BENCHMARK(BM_LeeFigura);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (!Arranca())
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    Apaga();
    return 0;
}
