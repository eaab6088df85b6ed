#include "main_window/toolbar_marks.h"

#include <string>
#include <vector>

#include "main_window/control_table.h"

namespace ruror {
namespace {

// The numbers of the toolbar's buttons that are no separators, in order.
std::vector<int> buttonsOf(Toolbar toolbar) {
    const char* name = toolbar == Toolbar::Toolbar1 ? "Toolbar1" : "Toolbar2";
    std::vector<int> numbers;
    for (const window_layout::ToolbarButtonRow& row : window_layout::kToolbarButtons)
        if (std::string(row.toolbar) == name && !row.separator) numbers.push_back(row.number);
    return numbers;
}

}  // namespace

int firstMark(Toolbar toolbar, const ButtonEnabled& enabled) {
    for (const int number : buttonsOf(toolbar))
        if (enabled(number)) return number;
    return 0;
}

int nextMark(Toolbar toolbar, int marked, int step, const ButtonEnabled& enabled) {
    const std::vector<int> numbers = buttonsOf(toolbar);
    for (int i = 0; i < static_cast<int>(numbers.size()); ++i) {
        if (numbers[static_cast<std::size_t>(i)] != marked) continue;
        for (int next = i + step; next >= 0 && next < static_cast<int>(numbers.size()); next += step)
            if (enabled(numbers[static_cast<std::size_t>(next)])) return numbers[static_cast<std::size_t>(next)];
    }
    return marked;
}

}  // namespace ruror
