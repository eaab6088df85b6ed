#pragma once

#include <string>

#include "core/failure.h"

namespace ruror::posix {

// The Spanish description of an errno value.
std::string spanishErrorText(int errorNumber);

// A failure carrying an errno value, its Spanish description and the
// operation that failed.
Failure systemFailure(int errorNumber, std::string source);

// The failure of a copy or folder whose destination already exists and is
// kept as it is, which the data-centre stages pass over in silence.
Failure destinationKept(std::string source);

// Whether an errno value says the file system does not offer the call at
// all (FAT drives, FUSE file systems), rather than that it failed.
bool notOffered(int errorNumber);

// Quotes a path for a message, byte for byte.
std::string quoted(const std::string& path);

}  // namespace ruror::posix
