// Touch controls: on-screen buttons that the game reads as one more pad in
// the browser's standard layout (D-pad 12 to 15, A 0, Back 8, Start 9), the
// same input as a real pad's. Every finger counts on its own, so the D-pad
// can be held while another finger turns. The pad is listed (pagina.js) only
// once the buttons have been touched, and a touch wakes the game as any input
// does: nothing needs polling while no finger is down. A button stays pressed
// until the game has read it, so that a tap quicker than the game's waking (a
// busy page took 100 ms here) still counts.
'use strict';

(() => {
    const panel = document.getElementById('tactil');
    const botones = Array.from(panel.querySelectorAll('[data-boton]'));
    const mando = {
        id: 'Brikando: botones en pantalla',
        index: -1,
        connected: true,
        mapping: 'standard',
        timestamp: 0,
        axes: [0, 0, 0, 0],
        buttons: Array.from({length: 17}, () => ({pressed: false, touched: false, value: 0})),
    };
    const dedos = new Map();    // pointer -> the button under it, if any
    const sinLeer = new Set();  // buttons touched since the game last read the pad

    function pinta() {
        for (const elemento of botones) {
            const numero = Number(elemento.dataset.boton);
            const pulsado = sinLeer.has(elemento) || [...dedos.values()].includes(elemento);
            elemento.classList.toggle('pulsado', pulsado);
            Object.assign(mando.buttons[numero], {pressed: pulsado, touched: pulsado, value: pulsado ? 1 : 0});
        }
        mando.timestamp = performance.now();
    }

    function sigue(evento) {
        if (evento.pointerType === 'mouse' && evento.buttons === 0 && evento.type === 'pointermove')
            return;
        if (!pagina.tactil) {
            pagina.tactil = mando;
            pagina.mandosCambiados = true;
        }
        const debajo = document.elementFromPoint(evento.clientX, evento.clientY);
        const boton = botones.includes(debajo) ? debajo : null;
        dedos.set(evento.pointerId, boton);
        if (boton)
            sinLeer.add(boton);
        pinta();
        evento.preventDefault();
    }

    function suelta(evento) {
        dedos.delete(evento.pointerId);
        pinta();
    }

    // The game sleeps once a pass, after it has read the pads.
    pagina.leido = () => {
        if (sinLeer.size) {
            sinLeer.clear();
            pinta();
        }
    };

    panel.addEventListener('pointerdown', sigue);
    panel.addEventListener('pointermove', sigue);
    for (const tipo of ['pointerup', 'pointercancel', 'pointerleave'])
        panel.addEventListener(tipo, suelta);
    // Shown where the screen is touched: phones and tablets, and any screen
    // that turns out to be touched.
    const muestra = () => {
        document.body.classList.add('tactil');
        escala();
    };
    if (navigator.maxTouchPoints > 0 || matchMedia('(pointer: coarse)').matches)
        muestra();
    addEventListener('touchstart', muestra, {once: true, passive: true});
})();
