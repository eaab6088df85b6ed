# Cross-compiles the 64-bit Windows program and its tests, run under Wine.
# It is tested beside the 32-bit one, which is the one handed out.
set(RUROR_MINGW_PROCESSOR x86_64)
set(RUROR_WINE_LOADER /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
