#pragma once

// The resources of the Windows program file.
#define IDI_RUROR 1
#define IDI_BANNER 2
#define IDI_ACEPTAR 3
#define IDI_CANCELAR 4
#define IDI_CARPETA 5
