#pragma once

#include <windows.h>

namespace ruror::win32 {

class ControlLayout;

// Paints what the window draws itself, under its controls: the banner band
// and the etched separator lines, in the system's own colours.
void paintBandAndLines(HDC dc, const ControlLayout& layout);

// The brush a caption is drawn on: the band's colour for those on the band,
// the window's for the others.
HBRUSH captionBackground(HDC dc, bool onBand);

}  // namespace ruror::win32
