// The web page's budgets, in Debian's Chromium, headless, on this machine:
//   download     every byte the page fetches, uncompressed (<= 1.5 MB);
//   to the menu  from the page's navigation to the menu on its canvas,
//                median of 5 loads (<= 1 s);
//   CPU          % of one core, Chromium's processes together, in a fresh
//                browser each round, 6 s after the load and then for 10 s:
//                an empty page with the page's background, the page idle in
//                its menu (<= 0.5 % above the empty page), and a game playing
//                itself (<= 1.5 times the menu); medians of the rounds.
// usage: node bench/web.mjs [SITE_DIR] [ROUNDS]   (scripts/web.sh builds build-web;
//        run tests/navegador's npm install first)
import path from 'node:path';
import {fileURLToPath} from 'node:url';
import {abre, abreJuego, espera, sirve} from '../tests/navegador/comun.mjs';
import {abreVacia, hilos} from './chromium.mjs';

const raiz = path.join(path.dirname(fileURLToPath(import.meta.url)), '..');
const sitio = process.argv[2] || path.join(raiz, 'build-web');
const rondas = Number(process.argv[3] || 3);
const servidor = await sirve(sitio, path.join(raiz, 'recursos/img'));
let navegador = await abre();
const mediana = (v) => {
    const o = [...v].sort((a, b) => a - b);
    return o.length % 2 ? o[(o.length - 1) / 2] : (o[o.length / 2 - 1] + o[o.length / 2]) / 2;
};

// Nanoseconds run by Chromium's processes: the browser and all it started.
const cpuNs = () => Object.values(hilos(navegador.process().pid)).reduce((ns, hilo) => ns + hilo.ns, 0);
async function cpu(segundos) {
    const ns = cpuNs(), t = process.hrtime.bigint();
    await espera(segundos * 1000);
    return (cpuNs() - ns) / Number(process.hrtime.bigint() - t) * 100;
}

try {
    const bytes = {}, tiempos = [];
    for (let k = 0; k < 5; k++) {
        const pagina = await abreJuego(navegador, servidor.url, async (pagina) => {
            await pagina.setCacheEnabled(false);
            pagina.on('response', async (respuesta) => {
                if (!respuesta.url().startsWith(servidor.url) || respuesta.url().includes('/referencia/'))
                    return;
                try {
                    bytes[respuesta.url()] = (await respuesta.buffer()).length;
                } catch { /* no body */ }
            });
        });
        tiempos.push(await pagina.evaluate(() => performance.now()));
        await pagina.close();
    }
    const total = Object.values(bytes).reduce((a, b) => a + b, 0);
    const vacia = [], menu = [], juego = [];
    for (let k = 0; k < rondas; k++) {
        // A browser of its own: the pages before leave it work to do.
        await navegador.close();
        navegador = await abre();
        const blanco = await abreVacia(navegador);
        await espera(6000);
        vacia.push(await cpu(10));
        await blanco.close();
        await navegador.close();
        navegador = await abre();
        const pagina = await abreJuego(navegador, servidor.url);
        await espera(6000);
        menu.push(await cpu(10));
        await pagina.keyboard.press('Enter');
        await espera(1000);
        juego.push(await cpu(10));
        await pagina.close();
        console.error(`round ${k + 1} of ${rondas}: ${vacia.at(-1).toFixed(2)} %, ${menu.at(-1).toFixed(2)} %, ` +
            `${juego.at(-1).toFixed(2)} %`);
    }
    const v = mediana(vacia), m = mediana(menu), j = mediana(juego);
    console.log('| figure | measured | budget |');
    console.log('|---|---|---|');
    console.log(`| everything the page downloads (${Object.keys(bytes).length} files) | ${(total / 1e6).toFixed(3)} MB | <= 1.5 MB |`);
    console.log(`| navigation to the menu on the canvas (median of 5) | ${mediana(tiempos).toFixed(0)} ms | <= 1000 ms |`);
    console.log(`| CPU, an empty page, 10 s (median of ${rondas}) | ${v.toFixed(2)} % | |`);
    console.log(`| CPU idle in the menu, 10 s (median of ${rondas}) | ${m.toFixed(2)} % (${(m - v).toFixed(2)} above the empty page) | <= 0.5 above |`);
    console.log(`| CPU while a game plays itself, 10 s (median of ${rondas}) | ${j.toFixed(2)} % (${(j / m).toFixed(2)} times the menu) | <= 1.5 times the menu |`);
} finally {
    await navegador.close();
    servidor.cierra();
}
