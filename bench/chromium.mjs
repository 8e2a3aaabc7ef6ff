// What the web page's benches share: the empty page they measure the page
// against, and the CPU time of Chromium's threads.
import fs from 'node:fs';

// A new tab with an empty page of the page's background.
export async function abreVacia(navegador) {
    const pagina = await navegador.newPage();
    await pagina.setContent('<html><body style="margin:0;background:#10131c"></body></html>');
    return pagina;
}

// The threads of a browser and of every process it started, from /proc:
// tid -> {nombre, ns}, ns being the CPU time run so far, the kernel's part
// of each wake included.

export function hilos(pid) {
    const hijos = {};
    for (const otro of fs.readdirSync('/proc').filter((d) => /^\d+$/.test(d))) {
        try {
            const estado = fs.readFileSync(`/proc/${otro}/stat`, 'utf8');
            const padre = Number(estado.slice(estado.lastIndexOf(')') + 2).split(' ')[1]);
            (hijos[padre] ||= []).push(Number(otro));
        } catch { /* gone meanwhile */ }
    }
    const todos = [pid], resultado = {};
    for (let k = 0; k < todos.length; k++)
        todos.push(...(hijos[todos[k]] || []));
    for (const proceso of todos) {
        try {
            for (const tid of fs.readdirSync(`/proc/${proceso}/task`)) {
                const ruta = `/proc/${proceso}/task/${tid}`;
                resultado[tid] = {
                    nombre: fs.readFileSync(`${ruta}/comm`, 'utf8').trim(),
                    ns: Number(fs.readFileSync(`${ruta}/schedstat`, 'utf8').split(' ')[0]),
                };
            }
        } catch { /* gone meanwhile */ }
    }
    return resultado;
}
