#include "main_window/control_table.h"

#include "main_window/messages.h"

namespace ruror::window_layout {

using SC = SystemColour;

const std::array<ControlRow, 15> kControls = {{
    {"Shape1", Kind::Shape, nullptr, nullptr, 0, 0, 7005, 645, -1, false, SC::WindowBackground, {}},
    {"Image1", Kind::Image, nullptr, nullptr, 150, 90, 480, 480, -1, false, SC::Default, {}},
    {"Label2", Kind::Label, messages::kBannerTitle, nullptr, 750, 210, 0, 195, 6, true, SC::Default, Control::Label2},
    {"Line1(0)", Kind::Line, nullptr, nullptr, 0, 630, 7050, 630, -1, false, SC::ButtonShadow, {}},
    {"Line1(1)", Kind::Line, nullptr, nullptr, 0, 645, 7050, 645, -1, false, SC::Highlight3D, {}},
    {"Label1(0)", Kind::Label, "&Ubicación :", nullptr, 210, 975, 780, 195, 0, false, SC::Default, Control::Label1_0},
    {"Text1", Kind::TextBox, "", nullptr, 1050, 885, 5325, 315, 1, false, SC::Default, Control::Text1},
    {"Toolbar2", Kind::Toolbar, nullptr, nullptr, 6450, 870, 375, 330, 5, false, SC::Default, {}},
    {"Label1(1)", Kind::Label, "&Nombre :", nullptr, 330, 1500, 660, 195, 2, false, SC::Default, Control::Label1_1},
    {"Text2", Kind::TextBox, "", nullptr, 1050, 1395, 2625, 330, 3, false, SC::Default, Control::Text2},
    {"Check1", Kind::CheckBox, "&Centro de datos QVT Datos",
     "Incluye documentos adjuntos, documentos digitales y todas las plantillas implementadas.", 3840, 1500, 2535, 195,
     7, false, SC::Default, Control::Check1},
    {"Line1(2)", Kind::Line, nullptr, nullptr, 0, 1980, 7050, 1980, -1, false, SC::ButtonShadow, {}},
    {"Line1(3)", Kind::Line, nullptr, nullptr, 0, 1995, 7050, 1995, -1, false, SC::Highlight3D, {}},
    {"Label3", Kind::Label, "", nullptr, 150, 2190, 45, 195, 8, true, SC::Default, Control::Label3},
    {"Toolbar1", Kind::Toolbar, nullptr, nullptr, 4530, 2130, 2325, 330, 4, false, SC::Default, {}},
}};

const std::array<ToolbarButtonRow, 4> kToolbarButtons = {{
    {"Toolbar1", 1, false, "Aceptar", 1, nullptr, 73, 22},
    {"Toolbar1", 2, true, nullptr, 0, nullptr, 9, 22},
    {"Toolbar1", 3, false, "Cancelar", 2, nullptr, 73, 22},
    {"Toolbar2", 1, false, nullptr, 3, "Seleccione el destino de la información", 23, 22},
}};

}  // namespace ruror::window_layout
