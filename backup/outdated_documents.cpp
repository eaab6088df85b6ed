#include "backup/outdated_documents.h"

#include "backup/first_twenty.h"

namespace ruror {

std::string outdatedDocumentsText(const std::vector<std::string>& names, const std::string& tree) {
    const std::string count = names.size() == 1 ? "1 documento ha cambiado" : std::to_string(names.size()) + " documentos han cambiado";
    std::string text = count + " en Quvetra desde que se copió a '" + tree +
                       "', y su versión nueva no se ha copiado:\r\n";
    text += firstTwentyLines(names);
    text +=
        "\r\n\r\nLa carpeta del respaldo conserva las versiones de los respaldos anteriores: nunca reemplaza un "
        "documento que ya tiene. Para tener una copia completa y actual de todos los documentos, haga el respaldo en "
        "una ubicación nueva o vacía.";
    return text;
}

}  // namespace ruror
