// What the web page's test and its benchmark share: a static server on
// localhost for the site, with the game's images under /referencia/;
// Debian's Chromium, headless, driven through the DevTools protocol; and the
// canvas read back and compared with those images.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const TIPOS = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm', '.png': 'image/png'};

export function sirve(sitio, referencias) {
    const servidor = http.createServer((peticion, respuesta) => {
        const ruta = decodeURIComponent(new URL(peticion.url, 'http://x').pathname).replace(/\/$/, '/index.html');
        const archivo = ruta.startsWith('/referencia/') ? path.join(referencias, ruta.slice(12)) : path.join(sitio, ruta);
        fs.readFile(archivo, (error, datos) => {
            respuesta.writeHead(error ? 404 : 200, {'Content-Type': TIPOS[path.extname(archivo)] || 'application/octet-stream'});
            respuesta.end(error ? '' : datos);
        });
    });
    return new Promise((listo) => servidor.listen(0, '127.0.0.1', () =>
        listo({url: `http://127.0.0.1:${servidor.address().port}/`, cierra: () => servidor.close()})));
}

// As root Chromium needs --no-sandbox; the rest keeps it off the network.
export const abre = () => puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
});

export const espera = (ms) => new Promise((listo) => setTimeout(listo, ms));

// Polls condicion() up to segundos; its value, or an Error saying que.
export async function hasta(que, segundos, condicion) {
    for (const fin = Date.now() + segundos * 1000; ; await espera(20)) {
        const valor = await condicion();
        if (valor)
            return valor;
        if (Date.now() > fin)
            throw new Error(`${que}: not within ${segundos} s`);
    }
}

// In the page: prueba.pantalla() (the canvas's pixels), prueba.igual(image)
// and prueba.piezas(), the box around the blocks on the board (100x200 at
// 110, 8), in board pixels, or null.
const preparaPagina = (pagina) => pagina.evaluate(() => {
    const lee = (fuente) => {
        const lienzo = Object.assign(document.createElement('canvas'), {width: 320, height: 240});
        const contexto = lienzo.getContext('2d', {willReadFrequently: true});
        contexto.drawImage(fuente, 0, 0);
        return contexto.getImageData(0, 0, 320, 240).data;
    };
    const imagenes = {};
    const referencia = async (nombre) => {
        if (!imagenes[nombre]) {
            const imagen = Object.assign(new Image(), {src: '/referencia/' + nombre});
            await imagen.decode();
            imagenes[nombre] = lee(imagen);
        }
        return imagenes[nombre];
    };
    window.prueba = {
        pantalla: () => lee(document.getElementById('lienzo')),
        async igual(nombre) {
            const a = prueba.pantalla(), b = await referencia(nombre);
            return a.every((valor, k) => valor === b[k]);
        },
        async piezas() {
            const a = prueba.pantalla(), b = await referencia('BackGroundT.png');
            let x0 = 100, y0 = 200, x1 = -1, y1 = -1;
            for (let y = 0; y < 200; y++)
                for (let x = 0, k = ((y + 8) * 320 + 110) * 4; x < 100; x++, k += 4)
                    if (a[k] !== b[k] || a[k + 1] !== b[k + 1] || a[k + 2] !== b[k + 2])
                        [x0, y0, x1, y1] = [Math.min(x0, x), Math.min(y0, y), Math.max(x1, x), Math.max(y1, y)];
            return x1 < 0 ? null : {x: x0, y: y0, w: x1 - x0 + 1, h: y1 - y0 + 1};
        },
    };
});

// Opens the page at url in a new tab (antes prepares the tab), and waits for the menu.
export async function abreJuego(navegador, url, antes = async () => {}) {
    const pagina = await navegador.newPage();
    await antes(pagina);
    await pagina.goto(url, {waitUntil: 'load'});
    await preparaPagina(pagina);
    await hasta('the menu', 10, () => pagina.evaluate(() => prueba.igual('menu_principal.png')));
    return pagina;
}
