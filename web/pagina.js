// The page around the game (brikando.js, built from the game's own sources):
// it sizes the picture, gives the game its font, wakes it on input, and tells
// the player when it stops.
'use strict';

const lienzo = document.getElementById('lienzo');
const zona = document.getElementById('zona');
const aviso = document.getElementById('aviso');
const FUENTE = 'recursos/fonts/comicsans.ttf';
// The keys the game reads; the browser keeps every other one (F5, F11...).
const TECLAS = new Set(['ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', 'Enter', 'Escape', 'p', 'P']);

const pagina = {
    fuentes: {},           // font path -> 'loaded' or 'error'
    mandos: 0,             // the browser's pads, which only polling reads
    mandosCambiados: false,
    fueraDeVista: false,   // hidden or out of focus since the game's last sleep
    despierta: null,       // ends the game's sleep early, on input
    entrada: false,        // input came since the game's sleep began
    estado: null,          // the game's exit status, once it has ended
    anunciados: false,     // the browser has announced a pad
    enJuego: false,        // a game is on, not paused
    llegada: 0,            // when the page last loaded, came into view or got the focus
    escucha: null,         // the timer of the pad listening's next change
    tactil: null,          // the touch controls' pad, once touched
    leido: () => {},       // the game has read the pads (tactil.js)
};

function avisa(texto, error) {
    aviso.textContent = texto;
    aviso.className = error ? 'error' : '';
    aviso.hidden = false;
}

// The largest whole multiple of 320x240, in the screen's own pixels, that
// fits; a smaller screen gets the picture shrunk to fit.
function escala() {
    const ppp = window.devicePixelRatio || 1;
    const ancho = zona.clientWidth, alto = zona.clientHeight;
    let veces = Math.floor(Math.min(ancho * ppp / 320, alto * ppp / 240)) / ppp;
    if (veces * ppp < 1)
        veces = Math.min(ancho / 320, alto / 240);
    zona.style.setProperty('--ancho', 320 * veces + 'px');
    zona.style.setProperty('--alto', 240 * veces + 'px');
}

// Anything the game would read: its sleep ends (once its own events are
// queued), or does not go on past the pass.
function entrada() {
    pagina.entrada = true;
    if (pagina.despierta)
        setTimeout(pagina.despierta, 0);
}

// The pads the game sees: the browser's, once it has announced one (asking
// before would only set it polling), then the touch controls' (tactil.js).
const delNavegador = navigator.getGamepads ? navigator.getGamepads.bind(navigator) : () => [];
navigator.getGamepads = () => {
    const mandos = pagina.anunciados ? Array.from(delNavegador()) : [];
    if (pagina.tactil) {
        pagina.tactil.index = mandos.length;
        mandos.push(pagina.tactil);
    }
    return mandos;
};

function cuentaMandos() {
    if (!pagina.anunciados) {
        addEventListener('gamepadconnected', cuentaMandos);
        addEventListener('gamepaddisconnected', cuentaMandos);
    }
    pagina.anunciados = true;
    pagina.mandos = Array.from(delNavegador()).filter((mando) => mando).length;
    pagina.mandosCambiados = true;
    entrada();
}

addEventListener('resize', escala);
escala();
// Keys the game does not read go past it, to the browser; its own never
// scroll the page.
for (const tipo of ['keydown', 'keyup']) {
    addEventListener(tipo, (evento) => {
        if (!TECLAS.has(evento.key))
            evento.stopPropagation();
        else
            evento.preventDefault();
    }, true);
    addEventListener(tipo, entrada);
}
for (const tipo of ['pointerdown', 'pointerup', 'pointercancel', 'focus'])
    addEventListener(tipo, entrada);
// A tab left behind, or a window left for another: a game in play pauses
// (sdl12_web.cpp).
function fuera() {
    pagina.fueraDeVista = true;
    entrada();
}
addEventListener('blur', fuera);
document.addEventListener('visibilitychange', () => document.hidden ? fuera() : (entrada(), llega()));
// Listening for pads sets Chromium polling them, about 240 times a second,
// pad or no pad (its gamepad polling thread: nearly all the page costs at
// rest), and it shows a pad only to a poll that finds a button down. So,
// until a pad shows up, the page listens all the time for a few seconds
// after it loads, comes into view or gets the focus, when a player is
// likeliest to pick one up; then, in the menu or paused, one second in
// three: a press in it is seen at once, a tap between at the next press. A
// game played on the keys or the screen does not listen: its player has
// no pad in hand until they pause or leave.
const LLEGADA_MS = 5000, ESCUCHA_MS = 1000, CICLO_MS = 3000;
function escucha() {
    clearTimeout(pagina.escucha);
    if (pagina.anunciados)
        return;
    const desde = performance.now() - pagina.llegada, fase = (desde - LLEGADA_MS) % CICLO_MS;
    const si = !pagina.enJuego && (desde < LLEGADA_MS || fase < ESCUCHA_MS);
    (si ? addEventListener : removeEventListener)('gamepadconnected', cuentaMandos);
    if (!pagina.enJuego)
        pagina.escucha = setTimeout(escucha, desde < LLEGADA_MS ? LLEGADA_MS - desde : (si ? ESCUCHA_MS : CICLO_MS) - fase);
}
function llega() {
    pagina.llegada = performance.now();
    escucha();
}
addEventListener('focus', llega);
llega();

var Module = {
    canvas: lienzo,
    // The game writes one line only, when it cannot start.
    print: (linea) => avisa(linea, true),
    printErr: (linea) => console.warn(linea),
    preRun: [() => {
        // The canvas draws the score in the page's font named after the file.
        const cara = new FontFace(FUENTE, `url("${FUENTE}")`);
        addRunDependency('fuente');
        cara.load().then(() => {
            document.fonts.add(cara);
            pagina.fuentes[FUENTE] = 'loaded';
        }, () => {
            pagina.fuentes[FUENTE] = 'error';
        }).finally(() => removeRunDependency('fuente'));
    }],
    onRuntimeInitialized: () => {
        aviso.hidden = true;
        lienzo.focus();
    },
    onExit: (estado) => {
        pagina.estado = estado;
        if (estado !== 0) {
            aviso.textContent += '\n\nRecarga la página para intentarlo de nuevo.';
            return;
        }
        avisa('Fin de la partida.\nPulsa una tecla o toca la pantalla para volver a jugar.');
        const otra = () => location.reload();
        addEventListener('keydown', otra);
        addEventListener('pointerdown', otra);
    },
    fuenteCargada: (ruta) => (pagina.fuentes[ruta] === 'loaded' ? 1 : 0),
    // The game's sleep: ms; then, while no pad needs polling, on until
    // tranquilo ms or input, as nothing changes before. Says, as bits, whether
    // pads came or went (1), and whether the page went out of sight (2).
    espera: (ms, tranquilo) => new Promise((listo) => {
        let reloj;
        pagina.leido();
        pagina.entrada = false;
        if (pagina.enJuego !== tranquilo < 1e9) {
            pagina.enJuego = tranquilo < 1e9;
            escucha();
        }
        const fin = () => {
            clearTimeout(reloj);
            pagina.despierta = null;
            listo((pagina.mandosCambiados ? 1 : 0) | (pagina.fueraDeVista ? 2 : 0));
            pagina.mandosCambiados = pagina.fueraDeVista = false;
        };
        reloj = setTimeout(() => {
            if (tranquilo <= ms || pagina.mandos > 0 || pagina.mandosCambiados || pagina.entrada)
                return fin();
            pagina.despierta = fin;
            if (tranquilo < 1e9)
                reloj = setTimeout(fin, tranquilo - ms);
        }, ms);
    }),
};
