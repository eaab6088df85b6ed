#pragma once

#include <string>

namespace ruror {

// Gives a chosen folder exactly one trailing separator: the first two
// characters are kept as they are (so a network path keeps its leading
// pair), then the rest, with one separator appended, has every doubled
// separator collapsed in one left-to-right pass. Empty text stays empty.
std::string cleanedLocation(const std::string& chosen, char separator);

}  // namespace ruror
