// What the web page's test and its benchmark share: a static server on
// localhost for the site, with the game's images beside it as references;
// Debian's Chromium, headless, driven through the DevTools protocol; and
// the canvas read back and compared with those images.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const TIPOS = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm', '.png': 'image/png',
               '.ttf': 'font/ttf', '.data': 'application/octet-stream', '.txt': 'text/plain'};

// Serves directory sitio, and directory referencias under /referencia/.
export function sirve(sitio, referencias) {
    const servidor = http.createServer((peticion, respuesta) => {
        const ruta = decodeURIComponent(new URL(peticion.url, 'http://x').pathname);
        const archivo = ruta.startsWith('/referencia/') ? path.join(referencias, ruta.slice(12))
                        : path.join(sitio, ruta.endsWith('/') ? ruta + 'index.html' : ruta);
        fs.readFile(archivo, (error, datos) => {
            respuesta.writeHead(error ? 404 : 200, {'Content-Type': TIPOS[path.extname(archivo)] || 'text/plain'});
            respuesta.end(error ? '' : datos);
        });
    });
    return new Promise((listo) => servidor.listen(0, '127.0.0.1', () =>
        listo({url: `http://127.0.0.1:${servidor.address().port}/`, cierra: () => servidor.close()})));
}

// As root Chromium needs --no-sandbox; the others keep it off this
// machine's closed network.
export function abre() {
    return puppeteer.launch({
        executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
        args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
               '--disable-component-update', '--disable-sync'],
    });
}

export const espera = (ms) => new Promise((listo) => setTimeout(listo, ms));

// Polls condicion() up to segundos; its last value, or an Error saying que.
export async function hasta(que, segundos, condicion) {
    const fin = Date.now() + segundos * 1000;
    for (;;) {
        const valor = await condicion();
        if (valor)
            return valor;
        if (Date.now() > fin)
            throw new Error(`${que}: not within ${segundos} s`);
        await espera(20);
    }
}

// Helpers put into the page: the canvas against a reference image, pixel
// for pixel, and the blocks on the board.
export async function preparaPagina(pagina) {
    await pagina.evaluate(() => {
        const imagenes = {};
        const lee = (fuente) => {
            const lienzo = document.createElement('canvas');
            lienzo.width = 320;
            lienzo.height = 240;
            const contexto = lienzo.getContext('2d', {willReadFrequently: true});
            contexto.drawImage(fuente, 0, 0);
            return contexto.getImageData(0, 0, 320, 240).data;
        };
        window.prueba = {
            async referencia(nombre) {
                if (!imagenes[nombre]) {
                    const imagen = new Image();
                    imagen.src = '/referencia/' + nombre;
                    await imagen.decode();
                    imagenes[nombre] = lee(imagen);
                }
                return imagenes[nombre];
            },
            pantalla: () => lee(document.getElementById('lienzo')),
            // Pixels of the canvas unlike image nombre, in the part x, y, w, h.
            async diferentes(nombre, x = 0, y = 0, w = 320, h = 240) {
                const a = window.prueba.pantalla(), b = await window.prueba.referencia(nombre);
                let n = 0;
                for (let j = y; j < y + h; j++)
                    for (let i = x; i < x + w; i++)
                        for (let c = 0; c < 4; c++)
                            if (a[(j * 320 + i) * 4 + c] !== b[(j * 320 + i) * 4 + c]) {
                                n++;
                                break;
                            }
                return n;
            },
            // The box around the blocks on the board (100x200 at 110, 8), in board pixels.
            async piezas() {
                const a = window.prueba.pantalla(), b = await window.prueba.referencia('BackGroundT.png');
                let x0 = 100, y0 = 200, x1 = -1, y1 = -1;
                for (let y = 0; y < 200; y++)
                    for (let x = 0; x < 100; x++) {
                        const k = ((y + 8) * 320 + x + 110) * 4;
                        if (a[k] !== b[k] || a[k + 1] !== b[k + 1] || a[k + 2] !== b[k + 2]) {
                            x0 = Math.min(x0, x); y0 = Math.min(y0, y); x1 = Math.max(x1, x); y1 = Math.max(y1, y);
                        }
                    }
                return x1 < 0 ? null : {x: x0, y: y0, w: x1 - x0 + 1, h: y1 - y0 + 1};
            },
        };
    });
}

// Opens the page at url in a new tab, and waits up to 10 s for the menu.
export async function abreJuego(navegador, url, antes = async () => {}) {
    const pagina = await navegador.newPage();
    await antes(pagina);
    await pagina.goto(url, {waitUntil: 'load'});
    await preparaPagina(pagina);
    await hasta('the menu', 10, async () => (await pagina.evaluate(() => prueba.diferentes('menu_principal.png'))) === 0);
    return pagina;
}
