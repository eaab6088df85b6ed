#include "backup/data_centre_failures.h"

#include "backup/listed_lines.h"

namespace ruror {

std::string dataCentreFailuresText(const std::vector<Failure>& failures) {
    std::vector<std::string> lines;
    lines.reserve(failures.size());
    for (const Failure& failure : failures)
        lines.push_back(failure.source + ": " + failure.description + " (" + std::to_string(failure.number) + ").");
    return "No se pudo respaldar todo el centro de datos. Esto no se ha copiado o no se ha guardado en el disco:\r\n" +
           listedLines(lines);
}

}  // namespace ruror
