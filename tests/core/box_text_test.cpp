#include "core/box_text.h"

#include <gtest/gtest.h>

#include <sstream>

namespace ruror {
namespace {

std::size_t longestLine(const std::string& text) {
    std::size_t longest = 0;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::size_t characters = 0;
        for (const char c : line)
            if ((static_cast<unsigned char>(c) & 0xC0) != 0x80 && c != '\r') ++characters;
        longest = std::max(longest, characters);
    }
    return longest;
}

std::string withoutBreaks(std::string text) {
    for (std::size_t at; (at = text.find("\r\n|")) != std::string::npos;) text.erase(at, 3);
    return text;
}

// A path breaks after a separator, a name without any at the width; the
// text is otherwise the same, and what is short stays as it is.
TEST(BoxText, LongRunsBreakAfterASeparatorOrAtTheWidth) {
    const std::string path = "Z:\\Copias\\" + std::string(30, 'a') + "\\" + std::string(30, 'b') + "\\Lunes.qvtdb";
    const std::string broken = withLongRunsBroken("La ruta '" + path + "' no es válida", 40, "\r\n|");
    EXPECT_LE(longestLine(broken), 41u) << broken;
    EXPECT_NE(broken.find("\\\r\n|"), std::string::npos) << "breaks after a separator: " << broken;
    EXPECT_EQ(withoutBreaks(broken), "La ruta '" + path + "' no es válida");

    const std::string name = std::string(130, 'x') + "ñ.qvtdb";
    const std::string brokenName = withLongRunsBroken(name, 60, "\r\n|");
    EXPECT_LE(longestLine(brokenName), 61u);
    EXPECT_EQ(withoutBreaks(brokenName), name);

    const std::string shortText = "Número: 2\r\nDescripción: No se encuentra el archivo";
    EXPECT_EQ(withLongRunsBroken(shortText, 60, "\r\n|"), shortText);
}

}  // namespace
}  // namespace ruror
