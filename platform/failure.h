#pragma once

#include <optional>
#include <string>

namespace ruror {

// A failed operation of the machine, as the user is told of it.
struct Failure {
    int number = 0;           // the operating system's error code
    std::string description;  // what went wrong, in Spanish
    std::string source;       // the operation that failed and on what, in Spanish
    // The destination existed and was kept, as a copy without overwrite asks.
    bool destinationExisted = false;
};

// Empty when the operation succeeded.
using Outcome = std::optional<Failure>;

}  // namespace ruror
