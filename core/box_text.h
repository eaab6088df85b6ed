#pragma once

#include <cstddef>
#include <string>

namespace ruror {

// How many characters a box's line may run without a space: a path or a
// name longer than this would make the box wider than the screen.
inline constexpr std::size_t kLongestBoxRun = 60;

// A box's text with breaks put into every run of characters without a space
// that is longer than `width` characters: after the last folder separator
// that keeps the line within the width, or, where there is none, at the
// width. `lineBreak` is what is put there: "\r\n" for a box that breaks
// lines only where it is told, an invisible break opportunity for one that
// wraps by itself. Characters are counted, not bytes.
std::string withLongRunsBroken(const std::string& text, std::size_t width, const std::string& lineBreak);

}  // namespace ruror
