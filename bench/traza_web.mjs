// Where the web page's time goes: the page in one state for 10 s, 6 s after
// the load as bench/web.mjs measures it; each thread's CPU time from /proc,
// and from Chromium's own tracing the thread time of every task it ran
// meanwhile, in every process, by thread and by the function that posted
// the task. The tracer's own threads (PerfettoTrace) are left out.
// usage: node bench/traza_web.mjs [vacia|menu|juego] [SITE_DIR]
//   vacia  an empty page with the page's background
//   menu   the page idle in its menu (the default)
//   juego  a game playing itself
import path from 'node:path';
import {fileURLToPath} from 'node:url';
import {abre, abreJuego, espera, sirve} from '../tests/navegador/comun.mjs';
import {abreVacia, hilos} from './chromium.mjs';

const raiz = path.join(path.dirname(fileURLToPath(import.meta.url)), '..');
const estado = process.argv[2] || 'menu';
const servidor = await sirve(process.argv[3] || path.join(raiz, 'build-web'), path.join(raiz, 'recursos/img'));
const navegador = await abre();

try {
    const pagina = estado === 'vacia' ? await abreVacia(navegador) : await abreJuego(navegador, servidor.url);
    await espera(6000);
    if (estado === 'juego')
        await pagina.keyboard.press('Enter');
    // 'toplevel' records every task run by a thread's scheduler, with its
    // thread time (tdur) and where it was posted from.
    await pagina.tracing.start({categories: ['toplevel', '__metadata']});
    const antes = hilos(navegador.process().pid);
    await espera(10000);
    const despues = hilos(navegador.process().pid);
    const {traceEvents: sucesos} = JSON.parse(new TextDecoder().decode(await pagina.tracing.stop()));

    const nombres = {};
    for (const s of sucesos.filter((s) => s.ph === 'M'))
        (nombres[s.pid] ||= {})[s.name === 'process_name' ? '' : s.tid] = s.args.name;
    const hilo = (s) => `${nombres[s.pid]?.[''] || s.pid} / ${nombres[s.pid]?.[s.tid] || s.tid}`;
    const tiempos = sucesos.filter((s) => s.ts).map((s) => s.ts);
    const us = Math.max(...tiempos) - Math.min(...tiempos);
    const porHilo = new Map(), porTarea = new Map();
    const suma = (mapa, clave, tdur, tid) => {
        const [t, n, tids] = mapa.get(clave) || [0, 0, new Set()];
        mapa.set(clave, [t + tdur, n + 1, tids.add(tid)]);
    };
    for (const s of sucesos.filter((s) => s.ph === 'X' && s.tdur !== undefined && !hilo(s).endsWith('PerfettoTrace'))) {
        suma(porHilo, hilo(s), s.tdur, s.tid);
        suma(porTarea, `${hilo(s)}: ${s.args?.src_func || s.name}`, s.tdur);
    }
    // Threads of one name (a pool's) together.
    const cpu = (tids) => [...tids].reduce((ns, tid) => ns + (despues[tid]?.ns || 0) - (antes[tid]?.ns || 0), 0) / 1e3 / us * 100;
    const primeros = (mapa, cuanto) => [...mapa].sort((a, b) => cuanto(b[1]) - cuanto(a[1])).slice(0, 12);
    console.log(`${estado}, ${(us / 1e6).toFixed(1)} s: the threads' CPU, and the part of it inside Chromium's tasks ` +
        '(the rest is waking: timers, polling, the kernel)\n');
    console.log('| thread | CPU, % of a core | in its tasks | tasks a second |\n|---|---|---|---|');
    for (const [clave, [t, n, tids]] of primeros(porHilo, (fila) => cpu(fila[2])))
        console.log(`| ${clave} | ${cpu(tids).toFixed(3)} | ${(t / us * 100).toFixed(3)} | ${(n / us * 1e6).toFixed(1)} |`);
    console.log('\n| thread: task posted from | in its tasks, % of a core | tasks a second |\n|---|---|---|');
    for (const [clave, [t, n]] of primeros(porTarea, (fila) => fila[0]))
        console.log(`| ${clave} | ${(t / us * 100).toFixed(3)} | ${(n / us * 1e6).toFixed(1)} |`);
} finally {
    await navegador.close();
    servidor.cierra();
}
