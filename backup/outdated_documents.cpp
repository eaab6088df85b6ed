#include "backup/outdated_documents.h"

#include "backup/listed_lines.h"

namespace ruror {

std::string outdatedDocumentsText(const std::vector<std::string>& names, const std::string& tree) {
    const bool one = names.size() == 1;
    std::string text = one ? "1 documento ha cambiado en Quvetra desde que se copió a '" + tree +
                                 "', y su versión nueva no se ha copiado:\r\n"
                           : std::to_string(names.size()) +
                                 " documentos han cambiado en Quvetra desde que se copiaron a '" + tree +
                                 "', y sus versiones nuevas no se han copiado:\r\n";
    text += listedLines(names);
    text +=
        "\r\n\r\nLa carpeta del respaldo conserva las versiones de los respaldos anteriores: nunca reemplaza un "
        "documento que ya tiene. Para tener una copia completa y actual de todos los documentos, haga el respaldo en "
        "una ubicación nueva o vacía.";
    return text;
}

}  // namespace ruror
