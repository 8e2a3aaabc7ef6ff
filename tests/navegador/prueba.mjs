// The web page in Debian's Chromium, headless: the menu pixel for pixel,
// a game on the keys, pause, a hidden tab pausing the game, a game fallen to
// the top, ESC, the touch buttons with two fingers on a phone, and a missing
// font or image.
// usage: node prueba.mjs SITE_DIR IMG_DIR
import {abre, abreJuego, espera, hasta, sirve} from './comun.mjs';

const servidor = await sirve(...process.argv.slice(2));
const navegador = await abre();
const menu = (pagina) => pagina.evaluate(() => prueba.igual('menu_principal.png'));
// The box around the blocks on the board, in a game.
const piezas = async (pagina) => !(await menu(pagina)) && pagina.evaluate(() => prueba.piezas());
const tablero = (pagina) => pagina.evaluate(() => prueba.pantalla().slice(8 * 320 * 4, 208 * 320 * 4).join());
const termino = (pagina, estado) => pagina.evaluate((e) => pagina.estado === e, estado);
// Whether the page listens for pads, which sets the browser polling them.
const oyeMandos = (pagina) => pagina.evaluate(() => oye.size > 0);
const cuentaOyentes = () => {
    window.oye = new Set();
    const [pon, quita] = [addEventListener, removeEventListener];
    window.addEventListener = (tipo, f, ...resto) => (tipo === 'gamepadconnected' && oye.add(f), pon(tipo, f, ...resto));
    window.removeEventListener = (tipo, f, ...resto) => (oye.delete(f), quita(tipo, f, ...resto));
};

try {
    const pagina = await abreJuego(navegador, servidor.url, (p) => p.evaluateOnNewDocument(cuentaOyentes));
    if (!await oyeMandos(pagina))
        throw new Error('the page just loaded does not listen for pads');
    await pagina.evaluate(() => addEventListener('keydown', (e) => setTimeout(() => e.defaultPrevented || (window.movio = 1)), true));
    await pagina.keyboard.press('Enter');
    const primera = await hasta('RETURN: a piece', 5, () => piezas(pagina));
    await hasta('a game on the keys stops listening for pads', 1, async () => !await oyeMandos(pagina));
    await hasta('a piece falls', 3, async () => (await piezas(pagina)).y > primera.y);
    for (const [tecla, pared] of [['ArrowLeft', (c) => c.x === 0], ['ArrowRight', (c) => c.x + c.w === 100]]) {
        await pagina.keyboard.down(tecla);
        await hasta(`${tecla} to the wall`, 5, async () => pared(await piezas(pagina)));
        await pagina.keyboard.up(tecla);
    }
    if (await pagina.evaluate(() => window.movio || scrollY))
        throw new Error('an arrow reached the page');
    await pagina.keyboard.press('p');
    await espera(100);
    const pausa = await tablero(pagina);
    await hasta('paused, the page listens for pads again', 3, () => oyeMandos(pagina));
    await espera(1500);
    if (await tablero(pagina) !== pausa)
        throw new Error('the game moved while paused');
    await pagina.keyboard.press('p');
    await hasta('P resumes', 3, async () => (await tablero(pagina)) !== pausa);
    // Hidden behind another tab, the game pauses as P pauses it, and stays
    // paused when the page comes back, until P.
    const otra = await navegador.newPage();
    await otra.bringToFront();
    await espera(1500);
    const oculta = await tablero(pagina);
    await pagina.bringToFront();
    await espera(1500);
    if (await tablero(pagina) !== oculta)
        throw new Error('the game went on while its tab was hidden, or after');
    await pagina.keyboard.press('p');
    await hasta('P resumes after the tab came back', 3, async () => (await tablero(pagina)) !== oculta);
    await otra.close();
    await pagina.keyboard.press('Escape');
    await hasta('ESC: the menu', 3, () => menu(pagina));
    // Hidden in the menu, nothing changes: the next game is not paused.
    const detras = await navegador.newPage();
    await detras.bringToFront();
    await espera(500);
    await pagina.bringToFront();
    await detras.close();
    // Once the browser has announced a pad, the page listens all the time.
    await pagina.evaluate(() => dispatchEvent(new Event('gamepadconnected')));
    await pagina.keyboard.press('Enter');
    const nueva = await hasta('RETURN again', 5, () => piezas(pagina));
    await hasta('the new game plays', 3, async () => (await piezas(pagina)).y > nueva.y);
    if (!await oyeMandos(pagina))
        throw new Error('a game with a pad announced stopped listening for it');
    await pagina.keyboard.down('ArrowDown');
    await hasta('a game fallen to the top: the menu', 60, () => menu(pagina));
    await pagina.keyboard.up('ArrowDown');
    await pagina.keyboard.press('Escape');
    await hasta('ESC in the menu ends the game', 3, () => termino(pagina, 0));
    await pagina.close();

    // A phone held upright, three pixels to one, touched with two fingers.
    const movil = await abreJuego(navegador, servidor.url, (p) =>
        p.setViewport({width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true}));
    const lienzo = await movil.$eval('#lienzo', (e) => e.getBoundingClientRect().toJSON());
    if (lienzo.x < 0 || lienzo.right > 390 || lienzo.bottom > 844 || (lienzo.width * 3) % 320 || lienzo.width * 3 !== lienzo.height * 4)
        throw new Error(`the picture on the phone: ${JSON.stringify(lienzo)}`);
    const dedo = (boton, id = 0) => movil.$eval(`[data-boton="${boton}"]`, (e, id) => {
        const caja = e.getBoundingClientRect();
        return {x: caja.x + caja.width / 2, y: caja.y + caja.height / 2, id};
    }, id);
    const [inicio, izquierda, girar, salir] = [await dedo(9), await dedo(14), await dedo(0, 1), await dedo(8)];
    const tactil = await movil.target().createCDPSession();
    // touchStart names every finger down, touchEnd those lifted. Taps are as
    // quick as can be: pads are polled, and a tap must last till the game reads it.
    const toca = (tipo, ...dedos) => tactil.send('Input.dispatchTouchEvent', {type: tipo, touchPoints: dedos});
    const pulsa = async (boton) => (await toca('touchStart', boton), await toca('touchEnd', boton));
    await pulsa(inicio);
    const antes = await hasta('Start on the screen: a piece', 5, () => piezas(movil));
    await toca('touchStart', izquierda);
    await toca('touchStart', izquierda, girar);
    await hasta('a finger on LEFT, another on turn', 5, async () => {
        const caja = await piezas(movil);
        return caja.w === antes.h && caja.h === antes.w;
    });
    await toca('touchEnd', girar);
    await hasta('LEFT held on the screen', 5, async () => (await piezas(movil)).x === 0);
    await toca('touchEnd', izquierda);
    await pulsa(salir);
    await hasta('Back on the screen: the menu', 3, () => menu(movil));
    await movil.close();

    // A font the server does not have, and an image left out of the data.
    for (const [falta, linea] of [
        ['recursos/fonts/comicsans.ttf', "Imposible cargar fuente. Path: 'recursos/fonts/comicsans.ttf' :"],
        ['recursos/img/block1.png', "Imposible cargar imagen del bloque. Path: 'recursos/img/block1.png' :"]]) {
        const rota = await navegador.newPage();
        await rota.setRequestInterception(true);
        rota.on('request', async (peticion) => {
            if (peticion.url().endsWith(falta))
                return peticion.respond({status: 404, body: ''});
            if (!peticion.url().endsWith('/brikando.js'))
                return peticion.continue();
            const cuerpo = await (await fetch(peticion.url())).text();
            peticion.respond({status: 200, contentType: 'text/javascript', body: cuerpo.replace(`"/${falta}"`, '"/falta"')});
        });
        await rota.goto(servidor.url, {waitUntil: 'load'});
        await hasta(`${falta} missing: the game ends`, 10, () => termino(rota, 1));
        const aviso = await rota.$eval('#aviso', (e) => (e.hidden ? '' : e.textContent));
        if (!aviso.startsWith(`${linea}Couldn't open ${falta}\n`))
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
