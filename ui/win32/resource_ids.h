#pragma once

// The identifiers of the Windows window's resources and child controls,
// shared by the program's resource script and the window that loads them.

// Icons, in the program file's resources.
#define IDI_RUROR 1
#define IDI_BANNER 2
#define IDI_ACEPTAR 3
#define IDI_CANCELAR 4
#define IDI_CARPETA 5

// Child control identifiers: a control's Control value plus this base, the
// toolbars after them. Tools that look at the window (screen readers, the
// tests' probe) tell the controls apart by them.
#define IDC_CONTROL_BASE 100
#define IDC_TOOLBAR1 200
#define IDC_TOOLBAR2 201

#ifndef RC_INVOKED
#include "core/window_ops.h"

namespace ruror::win32 {

// The command a toolbar button sends: its number plus its toolbar's base.
inline constexpr int kToolbar1Commands = 1000;
inline constexpr int kToolbar2Commands = 2000;
inline int toolbarCommand(Toolbar toolbar, int number) {
    return (toolbar == Toolbar::Toolbar1 ? kToolbar1Commands : kToolbar2Commands) + number;
}

}  // namespace ruror::win32
#endif
