#pragma once

#include <string>

#include "core/dialogs.h"

namespace ruror {

// The prompt shown in the folder chooser of the browse button.
inline constexpr const char* kFolderPrompt =
    "Respaldo de seguridad\r\n\r\nSeleccione la ubicación dónde desea guardar el respaldo de seguridad.";

// Shows the modal folder chooser with the prompt; returns the chosen folder's
// path, or empty text when the user cancelled.
std::string FunBuscarCarpeta(Dialogs& dialogs, const std::string& prompt);

}  // namespace ruror
