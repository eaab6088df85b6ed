#include "folder_picker/fun_buscar_carpeta.h"

namespace ruror {

std::string FunBuscarCarpeta(Dialogs& dialogs, const std::string& prompt) { return dialogs.chooseFolder(prompt); }

}  // namespace ruror
