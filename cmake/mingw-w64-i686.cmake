# Cross-compiles the 32-bit Windows program, the one handed out, and its
# tests, run under Wine (wine32 beside wine64, in one prefix).
set(RUROR_MINGW_PROCESSOR i686)
set(RUROR_WINE_LOADER /usr/lib/wine/wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
