#pragma once

#include <string>
#include <vector>

namespace ruror {

inline constexpr const char* kOutdatedDocumentsTitle = "Documentos no actualizados";

// The notice that documents kept in the backup tree are older than those in
// Quvetra: how many, the first twenty names, then how many more.
std::string outdatedDocumentsText(const std::vector<std::string>& names, const std::string& tree);

}  // namespace ruror
