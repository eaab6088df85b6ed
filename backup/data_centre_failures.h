#pragma once

#include <string>
#include <vector>

#include "core/failure.h"

namespace ruror {

inline constexpr const char* kDataCentreFailuresTitle = "Respaldo incompleto";

// The report of what the data-centre stages could not copy: the first
// twenty failures with their reasons, then how many more there were.
std::string dataCentreFailuresText(const std::vector<Failure>& failures);

}  // namespace ruror
