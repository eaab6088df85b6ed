#pragma once

#include <filesystem>
#include <string>

namespace ruror::test {

// The same folder reached under another name, as long as this object
// lives: a bind mount on Linux; on Windows a drive letter, as `subst` or a
// mapped share makes one (under Wine, which finds no files through such a
// letter, the folder through drive Z:). Empty, with the reason, where the
// system will not make one (a bind mount needs root).
class OtherName {
public:
    OtherName(const std::filesystem::path& folder, const std::filesystem::path& scratch);
    ~OtherName();
    OtherName(const OtherName&) = delete;
    OtherName& operator=(const OtherName&) = delete;

    const std::filesystem::path& path() const { return path_; }
    const std::string& whyNot() const { return whyNot_; }

private:
    std::filesystem::path path_;
    std::string whyNot_;
#ifdef _WIN32
    std::wstring drive_;
#endif
};

}  // namespace ruror::test
