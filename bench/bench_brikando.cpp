// What one frame and one pass cost, and the playfield's hot operations, on
// SDL's dummy 320x240x24 screen. Run from the build directory (it loads
// recursos/ as the game does): ./bench/bench_brikando

#include <benchmark/benchmark.h>

#include "carga.h"

using namespace apoyo;

namespace {

Figures Pieza(int tipo, int x, int y)
{
    Figures pieza;
    const std::string path = "recursos/maps_figures/map" + std::to_string(tipo) + ".txt";
    pieza.Iniciar(x, y, 0, VELOCIDAD_FIGURA, tipo, path.c_str());
    return pieza;
}

// Args: board (0 empty, 1 nearly full), score.
void BM_Dibujar(benchmark::State& estado)
{
    Cuadricula mapa(ALTO_MAPA, ANCHO_MAPA);
    if (estado.range(0) != 0)
        CasiLleno(mapa);
    const Figures actual = Pieza(0, X_SALIDA, Y_SALIDA), siguiente = Pieza(2, X_SIGUIENTE, Y_SIGUIENTE);
    for (auto _ : estado) {
        OlvidaCuadro();  // or every frame after the first would be skipped
        Dibujar(static_cast<unsigned int>(estado.range(1)), actual, siguiente, bloque, mapa, *t_puntaje);
    }
}
BENCHMARK(BM_Dibujar)->ArgNames({"lleno", "puntaje"})->Args({0, 0})->Args({0, 123456})->Args({1, 0})->Args({1, 123456});

// A pass of main's own frame loop on the simulated clock while the game
// plays itself, DOWN held or not; RETURN, queued every pass, starts a new
// game whenever the last one has ended and is ignored in play.
void BM_Pasada(benchmark::State& estado)
{
    bool sigue = true;
    JuegaMain(1, [&](Uint32) {
        sigue = sigue && estado.KeepRunning();
        if (!sigue)
            return Pulsa(SDLK_UNKNOWN);
        Sostiene(SDLK_DOWN, estado.range(0) != 0);
        Pulsa(SDLK_RETURN);
    }, 0xFFFFFFFF);
}
BENCHMARK(BM_Pasada)->ArgName("abajo")->Arg(0)->Arg(1);

void BM_Colision(benchmark::State& estado)
{
    Cuadricula mapa(ALTO_MAPA, ANCHO_MAPA);
    CasiLleno(mapa);
    int ele[4][4];
    Pieza(0, 0, 0).GetMapa(ele);
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
    Figures pieza = Pieza(0, 40, 40);
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
    SimulaReloj();
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
