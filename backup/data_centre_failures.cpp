#include "backup/data_centre_failures.h"

namespace ruror {

std::string dataCentreFailuresText(const std::vector<Failure>& failures) {
    constexpr std::size_t kListed = 20;
    std::string text =
        "No se pudo respaldar todo el centro de datos. Esto no se ha copiado o no se ha guardado en el disco:\r\n";
    for (std::size_t i = 0; i < failures.size() && i < kListed; ++i) {
        const Failure& failure = failures[i];
        text += "\r\n- " + failure.source + ": " + failure.description + " (" + std::to_string(failure.number) + ")";
    }
    if (failures.size() > kListed) text += "\r\n\r\nY " + std::to_string(failures.size() - kListed) + " más.";
    return text;
}

}  // namespace ruror
