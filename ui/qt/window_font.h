#pragma once

#include <QFont>

namespace ruror::qt {

// Makes Tahoma available where the system lacks it but carries a
// metric-compatible copy of its regular face (Debian's fonts-wine).
void loadTahomaIfMissing();

// The window's font: Tahoma 8.25 point (11 logical pixels), or the
// platform's own font where no Tahoma can be had.
QFont windowFont(bool bold = false);

}  // namespace ruror::qt
