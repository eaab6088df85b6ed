#pragma once

#include <string>
#include <vector>

namespace ruror {

// A list for a box: one line for each item, each starting with CR LF and
// "- ", then "Y N más." after a blank line for the items left out. The list
// stops at twenty items, or sooner where the items are long (two paths
// each, in a failure), so that the box, which cannot scroll, still fits a
// small screen with its button. At least one item is always listed.
std::string listedLines(const std::vector<std::string>& items);

}  // namespace ruror
