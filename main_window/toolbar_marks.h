#pragma once

#include <functional>

#include "core/window_ops.h"

namespace ruror {

// The keyboard on a toolbar, the same in both windows: a toolbar is one
// stop in the tab order; as the focus arrives, its first button that can be
// pressed is marked ("Aceptar" on Toolbar1); Left and Right move the mark to
// the next such button, passing over separators and disabled buttons; Space
// and Enter press the marked one. Buttons are named by their number.
using ButtonEnabled = std::function<bool(int number)>;

// The button marked as the focus arrives; 0 where none can be pressed.
int firstMark(Toolbar toolbar, const ButtonEnabled& enabled);
// The mark after a step (-1 left, +1 right); the same button where there is
// none further that way.
int nextMark(Toolbar toolbar, int marked, int step, const ButtonEnabled& enabled);

}  // namespace ruror
