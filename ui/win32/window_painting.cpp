#include "ui/win32/window_painting.h"

#include "main_window/control_table.h"
#include "ui/win32/control_layout.h"

namespace ruror::win32 {

using namespace window_layout;

void paintBandAndLines(HDC dc, const ControlLayout& layout) {
    for (const ControlRow& item : kControls) {
        if (item.kind == Kind::Shape) {
            const RECT band{layout.scaled(item.left), layout.scaled(item.top), layout.scaled(item.left + item.width),
                            layout.scaled(item.top + item.height)};
            FillRect(dc, &band, GetSysColorBrush(COLOR_WINDOW));
        } else if (item.kind == Kind::Line) {
            const int colour = item.colour == SystemColour::ButtonShadow ? COLOR_BTNSHADOW : COLOR_3DHILIGHT;
            HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(colour));
            HGDIOBJ old = SelectObject(dc, pen);
            MoveToEx(dc, layout.scaled(item.left), layout.scaled(item.top), nullptr);
            LineTo(dc, layout.scaled(item.width), layout.scaled(item.top));
            SelectObject(dc, old);
            DeleteObject(pen);
        }
    }
}

HBRUSH captionBackground(HDC dc, bool onBand) {
    SetBkMode(dc, TRANSPARENT);
    return GetSysColorBrush(onBand ? COLOR_WINDOW : COLOR_BTNFACE);
}

}  // namespace ruror::win32
