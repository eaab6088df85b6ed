#pragma once

#include <string>
#include <vector>

namespace ruror {

// One line for each of the first twenty items, each line starting with
// CR LF and "- ", then "Y N más." after a blank line where there are more.
std::string firstTwentyLines(const std::vector<std::string>& items);

}  // namespace ruror
