// The web page in Debian's Chromium, headless: the menu pixel for pixel;
// RETURN starts a game, a piece falls, the arrows take it to both walls
// without scrolling the page, P pauses and resumes, ESC returns to the menu;
// a game left to fall to the top returns to the menu, and ESC there ends the
// game; on a phone, the touch buttons start a game, move and turn a piece
// with two fingers at once, and leave; a missing font or image shows the
// start-up line, as the desktop's.
// usage: node prueba.mjs SITE_DIR IMG_DIR
import {abre, abreJuego, espera, hasta, sirve} from './comun.mjs';

const [sitio, imagenes] = process.argv.slice(2);
const servidor = await sirve(sitio, imagenes);
const navegador = await abre();
const piezas = (pagina) => pagina.evaluate(() => prueba.piezas());
const menu = async (pagina) => (await pagina.evaluate(() => prueba.diferentes('menu_principal.png'))) === 0;
const tablero = (pagina) => pagina.evaluate(() => Array.from(prueba.pantalla().slice(8 * 320 * 4, 208 * 320 * 4)).join());

// Holds key tecla until the blocks meet condicion.
async function sostiene(pagina, tecla, que, condicion) {
    await pagina.keyboard.down(tecla);
    await hasta(que, 5, async () => condicion(await piezas(pagina)));
    await pagina.keyboard.up(tecla);
}

try {
    const pagina = await abreJuego(navegador, servidor.url);
    await pagina.evaluate(() => {
        window.flechas = [];
        addEventListener('keydown', (evento) => setTimeout(() => flechas.push(evento.defaultPrevented)), true);
    });
    await pagina.keyboard.press('Enter');
    const primera = await hasta('RETURN: a piece', 5, () => piezas(pagina));
    await hasta('a piece falls', 3, async () => (await piezas(pagina)).y > primera.y);
    await sostiene(pagina, 'ArrowLeft', 'LEFT to the wall', (caja) => caja.x === 0);
    await sostiene(pagina, 'ArrowRight', 'RIGHT to the wall', (caja) => caja.x + caja.w === 100);
    if (await pagina.evaluate(() => flechas.some((prevenida) => !prevenida) || scrollY !== 0))
        throw new Error('an arrow reached the page');
    await pagina.keyboard.press('p');
    await espera(100);
    const pausa = await tablero(pagina);
    await espera(1500);
    if (await tablero(pagina) !== pausa)
        throw new Error('the game moved while paused');
    await pagina.keyboard.press('p');
    await hasta('P resumes', 3, async () => (await tablero(pagina)) !== pausa);
    await pagina.keyboard.press('Escape');
    await hasta('ESC: the menu', 3, () => menu(pagina));

    await pagina.keyboard.press('Enter');
    await hasta('RETURN again', 5, () => piezas(pagina));
    await pagina.keyboard.down('ArrowDown');
    await hasta('a game fallen to the top: the menu', 60, () => menu(pagina));
    await pagina.keyboard.up('ArrowDown');
    await pagina.keyboard.press('Escape');
    await hasta('ESC in the menu ends the game', 3, () => pagina.evaluate(() => pagina.estado === 0));
    await pagina.close();

    // A phone held upright, touched with two fingers.
    const movil = await abreJuego(navegador, servidor.url, (p) =>
        p.setViewport({width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true}));
    const tactil = await movil.target().createCDPSession();
    const centro = async (boton) => movil.$eval(`[data-boton="${boton}"]`, (elemento) => {
        const caja = elemento.getBoundingClientRect();
        return {x: caja.x + caja.width / 2, y: caja.y + caja.height / 2, id: 0};
    });
    // touchStart and touchMove name every finger down, touchEnd those lifted.
    const toca = (tipo, ...dedos) => tactil.send('Input.dispatchTouchEvent', {type: tipo, touchPoints: dedos});
    const {x, y, width, height} = await movil.$eval('#lienzo', (e) => e.getBoundingClientRect().toJSON());
    if (x < 0 || y < 0 || x + width > 390 || y + height > 844 || (width * 3) % 320 !== 0 || width * 3 !== height * 4)
        throw new Error(`the picture on the phone: ${width}x${height} at ${x},${y}`);
    const inicio = await centro(9), izquierda = await centro(14), salir = await centro(8);
    const girar = {...await centro(0), id: 1};
    // Every press lasts a while, as a finger's does: pads are polled.
    await toca('touchStart', inicio);
    await espera(100);
    await toca('touchEnd');
    const antes = await hasta('Start on the screen: a piece', 5, () => piezas(movil));
    await toca('touchStart', izquierda);
    await toca('touchStart', izquierda, girar);
    await hasta('a finger on LEFT, another on turn', 5, async () => {
        const caja = await piezas(movil);
        return caja && caja.w === antes.h && caja.h === antes.w;
    });
    await toca('touchEnd', girar);
    await hasta('LEFT held on the screen', 5, async () => (await piezas(movil)).x === 0);
    await toca('touchEnd', izquierda);
    await toca('touchStart', salir);
    await espera(100);
    await toca('touchEnd');
    await hasta('Back on the screen: the menu', 3, () => menu(movil));
    await movil.close();

    // A font the server does not have, and an image left out of the data.
    for (const [falta, linea] of [
        ['recursos/fonts/comicsans.ttf', "Imposible cargar fuente. Path: 'recursos/fonts/comicsans.ttf' :" +
            "Couldn't open recursos/fonts/comicsans.ttf"],
        ['recursos/img/block1.png', "Imposible cargar imagen del bloque. Path: 'recursos/img/block1.png' :" +
            "Couldn't open recursos/img/block1.png"]]) {
        const rota = await navegador.newPage();
        await rota.setRequestInterception(true);
        rota.on('request', async (peticion) => {
            if (peticion.url().endsWith(falta))
                return peticion.respond({status: 404, body: ''});
            if (!peticion.url().endsWith('/brikando.js'))
                return peticion.continue();
            const respuesta = await fetch(peticion.url());
            peticion.respond({status: 200, contentType: 'text/javascript',
                              body: (await respuesta.text()).replace(`"/${falta}"`, '"/falta"')});
        });
        await rota.goto(servidor.url, {waitUntil: 'load'});
        await hasta(`${falta} missing: the start-up line`, 10, () => rota.evaluate(() => pagina.estado === 1));
        const aviso = await rota.$eval('#aviso', (e) => (e.hidden ? '' : e.textContent));
        if (!aviso.startsWith(linea + '\n'))
            throw new Error(`${falta} missing, the page says: ${aviso}`);
        await rota.close();
    }
    console.log('web page: ok');
} catch (error) {
    console.error('FAIL:', error.message);
    process.exitCode = 1;
} finally {
    await navegador.close();
    servidor.cierra();
}
