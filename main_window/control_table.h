#pragma once

#include <array>
#include <optional>

#include "core/window_ops.h"

// The main window as data: every control with its kind, texts, reference
// geometry and tab order. The view renders this table and nothing else.
namespace ruror::window_layout {

// Positions and sizes are in twips, 15 to one logical pixel.
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kClientWidth = 6960;
// A row below the status line, for the figures under the progress bar,
// makes the window 240 twips taller than the status line alone needs.
inline constexpr int kClientHeight = 2805;

enum class Kind { Shape, Image, Label, Line, TextBox, CheckBox, Toolbar };

// The platform's own colours the window uses; it sets none of its own.
enum class SystemColour { Default, WindowBackground, ButtonShadow, Highlight3D };

// A label takes the size of its caption, its left and top edges fixed; an
// empty one keeps the size given here.
struct ControlRow {
    const char* name;
    Kind kind;
    const char* caption;  // "&" marks the access key
    const char* tooltip;
    // For a line, its two end points: x1, y1, x2, y2.
    int left, top, width, height;
    int tabIndex;  // -1 for none
    bool bold;
    SystemColour colour;
    std::optional<Control> control;  // how the handlers address it
};

// Listed from the top of the window to the bottom; drawn in this order, so
// the banner band lies under its picture and title.
extern const std::array<ControlRow, 15> kControls;

struct ToolbarButtonRow {
    const char* toolbar;
    int number;  // from 1 within its toolbar
    bool separator;
    const char* caption;
    int image;  // in the image list, from 1; 0 for none
    const char* tooltip;
    int width, height;  // logical pixels
};

extern const std::array<ToolbarButtonRow, 4> kToolbarButtons;

// The three 16x16 images of both toolbars, in image-list order.
inline constexpr std::array<const char*, 3> kImageList = {"aceptar", "cancelar", "carpeta"};

inline constexpr int pixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

}  // namespace ruror::window_layout
