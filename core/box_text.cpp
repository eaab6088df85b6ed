#include "core/box_text.h"

namespace ruror {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; }
bool isSeparator(char c) { return c == '\\' || c == '/'; }
bool startsCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

}  // namespace

std::string withLongRunsBroken(const std::string& text, std::size_t width, const std::string& lineBreak) {
    std::string out;
    out.reserve(text.size() + text.size() / width * lineBreak.size());
    std::size_t run = 0;         // characters on the line since a space or a break
    std::size_t breakAt = 0;     // where in `out` the line could break: after its last separator
    std::size_t runAtBreak = 0;  // characters on the line up to there; 0 for none
    for (const char c : text) {
        if (isSpace(c)) {
            run = runAtBreak = 0;
            out += c;
            continue;
        }
        if (startsCharacter(c)) {
            if (run == width) {
                if (runAtBreak > 0) {
                    out.insert(breakAt, lineBreak);
                    run -= runAtBreak;
                } else {
                    out += lineBreak;
                    run = 0;
                }
                runAtBreak = 0;
            }
            ++run;
        }
        out += c;
        if (isSeparator(c) && run < width) {
            breakAt = out.size();
            runAtBreak = run;
        }
    }
    return out;
}

}  // namespace ruror
