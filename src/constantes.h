#ifndef CONSTANTES_H
#define CONSTANTES_H

// Every number that more than one source shares lives here, once.

// Screen
const int ANCHO = 320;  // video mode width, px
const int ALTO = 240;   // video mode height, px

// Game states (values of estado)
const int ACTIVO = 0;  // a game is being played
const int MENU = 1;    // the title menu is shown

// Event codes returned by CompruebaEventos
const int NO_EVENTOS = -1;  // nothing of interest was queued
const int ENTER = 1;        // RETURN pressed
const int ESCAPE = 2;       // ESCAPE pressed
const int QUIT = 3;         // the window system asked us to quit
const int K_PAUSE = 4;      // p pressed
const int INICIO = 5;       // Start pressed on a pad: a game in the menu, pause in play

// Pieces and their images; a shape number is also its image index
const int TIPOS_FIGURAS = 3;  // shape files map0.txt .. map2.txt
const int TIPOS_BLOQUES = 3;  // block images block0.png .. block2.png
const int VELOCIDAD_FIGURA = 10;  // px a falling piece drops per fall step

// Scoring
const int PTOS_POR_FILA = 20;          // per removed row
const int BONUS_VARIAS_FILAS = 10;     // per removed row beyond the first
const int BONUS_TIEMPO = 30;           // speed bonus multiplier
const int TIEMPO_REFERENCIA = 20000;   // ms divided by the time since the last removal

// Timing, in milliseconds
const int MILISEGUNDOS_LOOP = 20;       // shortest pass of the frame loop
const int RETARDO_TECLAS = 150;         // between samplings of the held arrows
const int RETARDO_CAIDA = 800;          // between fall steps
const int RETARDO_CAIDA_RAPIDA = 70;    // between fall steps while DOWN is held

// Cells and board
const int LADO_BLOQUE = 10;  // side of a cell and of a block image, px
const int LADO_FIGURA = 4;   // side of a piece's shape square, cells
const int DESFASE_X = 110;   // screen x of the board's left edge
const int DESFASE_Y = 8;     // screen y of the board's top edge
const int ANCHO_MAPA = 10;   // board width, cells
const int ALTO_MAPA = 20;    // board height, cells

// Places in board pixels (screen = board + DESFASE)
const int X_SALIDA = 40;      // where a falling piece enters: column 4,
const int Y_SALIDA = 0;       // row 0
const int X_SIGUIENTE = 168;  // the preview piece, screen (278, 162)
const int Y_SIGUIENTE = 154;

// The score label, screen pixels
const int X_PUNTAJE = 248;
const int Y_PUNTAJE = 28;

// Collision test results. COLISION is 0 on purpose: callers test the
// result for truth, so "if (mapa.Colision(...))" reads "if it fits".
const int NO_COLISION = -1;
const int COLISION = 0;

#endif
