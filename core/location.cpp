#include "core/location.h"

#include "core/path_text.h"
#include "core/windows_paths.h"

namespace ruror {

Location::Location(std::string typed) : typed_(std::move(typed)) {
#ifdef _WIN32
    folder_ = std::filesystem::path(windows_paths::normalisedFullPath(pathFromText(typed_).wstring()));
#else
    folder_ = pathFromText(typed_);
#endif
}

}  // namespace ruror
