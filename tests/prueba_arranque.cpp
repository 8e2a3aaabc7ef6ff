// The real game binary, started on the dummy driver in a scratch copy of its
// tree with one asset broken at a time: its message line, its exit status,
// what it tried to open and whether it shut SDL down.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Recurso {
    const char* path;
    const char* mensaje;
};

// In the order the game loads them.
const Recurso RECURSOS[] = {
    {"recursos/img/menu_principal.png",
     "Imposible cargar imagen del menu principal. Path: 'recursos/img/menu_principal.png' :"},
    {"recursos/img/BackGroundT.png", "Imposible cargar imagen del background. Path: 'recursos/img/BackGroundT.png' :"},
    {"recursos/img/block0.png", "Imposible cargar imagen del bloque. Path: 'recursos/img/block0.png' :"},
    {"recursos/img/block1.png", "Imposible cargar imagen del bloque. Path: 'recursos/img/block1.png' :"},
    {"recursos/img/block2.png", "Imposible cargar imagen del bloque. Path: 'recursos/img/block2.png' :"},
    {"recursos/fonts/comicsans.ttf", "Imposible cargar fuente. Path: 'recursos/fonts/comicsans.ttf' :"},
    {"recursos/maps_figures/map0.txt", "Imposible cargar figura. Path: 'recursos/maps_figures/map0.txt' :"},
    {"recursos/maps_figures/map1.txt", "Imposible cargar figura. Path: 'recursos/maps_figures/map1.txt' :"},
    {"recursos/maps_figures/map2.txt", "Imposible cargar figura. Path: 'recursos/maps_figures/map2.txt' :"},
};
const int IMAGENES_Y_FUENTE = 6;

std::string Lee(const fs::path& path)
{
    std::ifstream archivo(path, std::ios::binary);
    std::stringstream contenido;
    contenido << archivo.rdbuf();
    return contenido.str();
}

// A fresh copy of the runnable tree's assets.
fs::path Arbol()
{
    std::string plantilla = (fs::temp_directory_path() / "brikando_arbol_XXXXXX").string();
    const fs::path dir = mkdtemp(plantilla.data());
    fs::copy(BRIKANDO_RECURSOS, dir / "recursos", fs::copy_options::recursive);
    return dir;
}

struct Corrida {
    bool termino = false;  // on its own, before the time limit
    int estado = -1;
    std::string salida;
    std::string errores;
    std::string registro;  // what the spy saw

    // The assets it tried to open, in order.
    std::vector<std::string> Intentos() const
    {
        std::vector<std::string> intentos;
        std::istringstream lineas(registro);
        for (std::string linea; std::getline(lineas, linea);)
            if (linea.rfind("IMG_Load ", 0) == 0 || linea.rfind("TTF_OpenFont ", 0) == 0)
                intentos.push_back(linea.substr(linea.find(' ') + 1));
        return intentos;
    }
    bool Vio(const std::string& linea) const { return ("\n" + registro).find("\n" + linea) != std::string::npos; }
};

// A healthy start waits in the menu for ever on the dummy driver, so the
// run is cut after limite_ms. Root reads files whatever their permissions,
// so as root the game runs as nobody when permissions are under test.
Corrida Ejecuta(const fs::path& dir, const char* falla = nullptr, int limite_ms = 10000, bool sin_privilegios = false)
{
    std::string binario = BRIKANDO_BIN;
    std::string espia = BRIKANDO_ESPIA;
    if (sin_privilegios) {
        // nobody may not reach the build tree: bring the binary and the spy along.
        fs::permissions(dir, fs::perms::all);
        fs::copy_file(binario, dir / "brikando", fs::copy_options::overwrite_existing);
        fs::copy_file(espia, dir / "espia_sdl.so", fs::copy_options::overwrite_existing);
        binario = (dir / "brikando").string();
        espia = (dir / "espia_sdl.so").string();
    }
    // The emulator's words, if any, then the game; built before the fork,
    // since the child should only set up and exec.
    std::vector<std::string> palabras;
    std::istringstream emulador(BRIKANDO_EMULADOR);
    for (std::string palabra; emulador >> palabra;)
        palabras.push_back(palabra);
    palabras.push_back(binario);
    std::vector<char*> argv;
    for (std::string& palabra : palabras)
        argv.push_back(palabra.data());
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid == 0) {
        if (sin_privilegios && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(125);
        if (chdir(dir.c_str()) != 0)
            _exit(126);
        const int salida = open("salida.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int errores = open("errores.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(salida, STDOUT_FILENO);
        dup2(errores, STDERR_FILENO);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("LD_PRELOAD", espia.c_str(), 1);
        setenv("ESPIA_SDL", (dir / "registro.txt").c_str(), 1);
        if (falla != nullptr)
            setenv("ESPIA_SDL_FALLA", falla, 1);
        // The spy is preloaded ahead of a sanitizer runtime, which is fine here.
        const char* asan = getenv("ASAN_OPTIONS");
        setenv("ASAN_OPTIONS", (std::string(asan ? asan : "") + ":verify_asan_link_order=0").c_str(), 1);
        execv(argv[0], argv.data());
        _exit(127);
    }
    Corrida corrida;
    int estado = 0;
    for (int ms = 0; ms < limite_ms && !corrida.termino; ms += 2) {
        corrida.termino = waitpid(pid, &estado, WNOHANG) == pid;
        if (!corrida.termino)
            usleep(2000);
    }
    if (!corrida.termino) {
        kill(pid, SIGKILL);
        waitpid(pid, &estado, 0);
    }
    corrida.estado = WIFEXITED(estado) ? WEXITSTATUS(estado) : 128 + WTERMSIG(estado);
    corrida.salida = Lee(dir / "salida.txt");
    corrida.errores = Lee(dir / "errores.txt");
    corrida.registro = Lee(dir / "registro.txt");
    return corrida;
}

// One line: our message, SDL's reason, end of line.
void EsperaMensaje(const Corrida& c, const std::string& mensaje)
{
    EXPECT_TRUE(c.termino);
    EXPECT_EQ(c.estado, 1);
    ASSERT_GT(c.salida.size(), mensaje.size()) << c.salida;
    EXPECT_EQ(c.salida.substr(0, mensaje.size()), mensaje);
    EXPECT_EQ(c.salida.find('\n'), c.salida.size() - 1) << "one line: " << c.salida;
    for (const char* informe : {"Sanitizer", "runtime error"})
        EXPECT_EQ(c.errores.find(informe), std::string::npos) << c.errores;
    EXPECT_TRUE(c.Vio("SDL_Quit")) << "SDL shut down after a failed start";
    EXPECT_TRUE(c.Vio("TTF_Quit"));
}

enum Dano { FALTA, VACIO, TRUNCADO, BASURA, DIRECTORIO, ILEGIBLE };
const char* const NOMBRES_DANO[] = {"falta", "vacio", "truncado", "basura", "directorio", "ilegible"};

class RecursoRoto : public testing::TestWithParam<std::tuple<int, Dano>> {};

TEST_P(RecursoRoto, DaSuMensajeSaleCon1YNoIntentaNadaMas)
{
    const auto [indice, dano] = GetParam();
    const Recurso& recurso = RECURSOS[indice];

    const fs::path dir = Arbol();
    const fs::path path = dir / recurso.path;
    const std::string original = Lee(path);
    std::mt19937 azar(static_cast<unsigned>(indice));
    std::string basura(original.size(), '\0');
    for (char& c : basura)
        c = static_cast<char>(azar());
    switch (dano) {
    case FALTA: fs::remove(path); break;
    case VACIO: std::ofstream(path, std::ios::trunc); break;
    case TRUNCADO: std::ofstream(path, std::ios::binary | std::ios::trunc) << original.substr(0, original.size() / 2); break;
    case BASURA: std::ofstream(path, std::ios::binary | std::ios::trunc) << basura; break;
    case DIRECTORIO: fs::remove(path); fs::create_directory(path); break;
    case ILEGIBLE: chmod(path.c_str(), 0); break;
    }

    const Corrida c = Ejecuta(dir, nullptr, 10000, dano == ILEGIBLE);
    EsperaMensaje(c, recurso.mensaje);
    std::vector<std::string> esperados;
    for (int k = 0; k <= std::min(indice, IMAGENES_Y_FUENTE - 1); k++)
        esperados.push_back(RECURSOS[k].path);
    EXPECT_EQ(c.Intentos(), esperados);
    fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(
    Roto, RecursoRoto,
    testing::Combine(testing::Range(0, static_cast<int>(std::size(RECURSOS))),
                     testing::Values(FALTA, VACIO, TRUNCADO, BASURA, DIRECTORIO, ILEGIBLE)),
    [](const testing::TestParamInfo<std::tuple<int, Dano>>& info) {
        std::string nombre = fs::path(RECURSOS[std::get<0>(info.param)].path).filename().string();
        for (char& c : nombre)
            if (!isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return nombre + "_" + NOMBRES_DANO[std::get<1>(info.param)];
    });

TEST(Arranque, CadaFalloDeSDLDaSuMensajeExacto)
{
    const struct {
        const char* falla;
        std::string linea;
        size_t intentos;
    } casos[] = {
        {"SDL_Init", "No se puede iniciar SDL: fallo inyectado\n", 0},
        {"TTF_Init", "No se puede iniciar SDL_ttf: fallo inyectado\n", 0},
        // The accent is one Latin-1 byte.
        {"SDL_SetVideoMode", "No se puede iniciar el modo de v\xED"
                             "deo: fallo inyectado\n", 0},
        {"SDL_DisplayFormat",
         "Imposible cargar imagen del menu principal. Path: 'recursos/img/menu_principal.png' :fallo inyectado\n", 1},
    };
    const fs::path dir = Arbol();
    for (const auto& caso : casos) {
        fs::remove(dir / "registro.txt");
        const Corrida c = Ejecuta(dir, caso.falla);
        SCOPED_TRACE(caso.falla);
        EsperaMensaje(c, caso.linea.substr(0, caso.linea.size() - 1));
        EXPECT_EQ(c.salida, caso.linea);
        EXPECT_EQ(c.Intentos().size(), caso.intentos);
    }
    fs::remove_all(dir);
}

TEST(Arranque, FigurasConCRLFComentariosOUnDosSeAceptan)
{
    const fs::path dir = Arbol();
    std::ofstream(dir / "recursos/maps_figures/map0.txt", std::ios::binary) << "1000\r\n1000\r\n1100\r\n0000\r\n";
    std::ofstream(dir / "recursos/maps_figures/map1.txt") << "1000 la barra\n1000\n1000\n1000";
    std::ofstream(dir / "recursos/maps_figures/map2.txt") << "1110\n0120\n0000\n0000\n";
    const Corrida c = Ejecuta(dir, nullptr, 1500);
    EXPECT_FALSE(c.termino) << "still waiting in the menu";
    EXPECT_EQ(c.salida, "") << "the game writes nothing on a good start";
    EXPECT_TRUE(c.Vio("SDL_Flip")) << "the menu was shown";
    fs::remove_all(dir);
}

}  // namespace
