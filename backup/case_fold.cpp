#include "backup/case_fold.h"

namespace ruror {
namespace {

// The small letter of a two-byte capital (U+0080 to U+07FF), or the code itself.
char32_t smallLetter(char32_t code) {
    const bool latin1Capital = code >= 0xC0 && code <= 0xDE && code != 0xD7;
    const bool greekCapital = code >= 0x391 && code <= 0x3AB && code != 0x3A2;
    const bool cyrillicCapital = code >= 0x410 && code <= 0x42F;
    if (latin1Capital || greekCapital || cyrillicCapital) return code + 0x20;
    if (code >= 0x400 && code <= 0x40F) return code + 0x50;
    // Latin Extended-A pairs capitals and small letters as even and odd
    // codes, except around the dotless i, where the pairs shift by one.
    const bool evenPairs = (code >= 0x100 && code <= 0x137 && code != 0x130) || (code >= 0x14A && code <= 0x177);
    const bool oddPairs = (code >= 0x139 && code <= 0x148) || (code >= 0x179 && code <= 0x17E);
    if ((evenPairs && code % 2 == 0) || (oddPairs && code % 2 == 1)) return code + 1;
    return code;
}

}  // namespace

std::string caseFolded(const std::string& name) {
    std::string folded;
    folded.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto lead = static_cast<unsigned char>(name[i]);
        if (lead >= 'A' && lead <= 'Z') {
            folded += static_cast<char>(lead + ('a' - 'A'));
            continue;
        }
        const bool twoByteSequence =
            (lead & 0xE0) == 0xC0 && i + 1 < name.size() && (static_cast<unsigned char>(name[i + 1]) & 0xC0) == 0x80;
        if (!twoByteSequence) {
            folded += name[i];
            continue;
        }
        const char32_t code = smallLetter(((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(name[i + 1]) & 0x3Fu));
        folded += static_cast<char>(0xC0 | (code >> 6));
        folded += static_cast<char>(0x80 | (code & 0x3F));
        ++i;
    }
    return folded;
}

}  // namespace ruror
