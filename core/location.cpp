#include "core/location.h"

#include "core/path_text.h"
#include "core/windows_paths.h"

namespace ruror {
namespace {

#ifdef _WIN32
std::filesystem::path named(const std::string& typed) {
    std::wstring path = windows_paths::normalisedFullPath(pathFromText(typed).wstring());
    // A drive's root keeps its separator; any other folder loses it.
    const std::size_t root = windows_paths::isDrivePath(path) ? 3 : 1;
    while (path.size() > root && windows_paths::isSeparator(path.back())) path.pop_back();
    return path;
}
#else
// Separators doubled or at the end say nothing more. Nothing else changes:
// ".." after a link is not the folder before it.
std::filesystem::path named(const std::string& typed) {
    std::string path;
    for (const char c : typed)
        if (c != '/' || path.empty() || path.back() != '/') path += c;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return pathFromText(path);
}
#endif

}  // namespace

Location::Location(std::string typed) : typed_(std::move(typed)), folder_(named(typed_)) {}

}  // namespace ruror
