#include "tests/support/other_name.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#endif

namespace ruror::test {

#ifdef _WIN32
namespace {

// Under Wine, the folder on drive C: as drive Z: (the machine's root) names
// it, through the prefix's own folder; empty on Windows.
std::filesystem::path throughWineRootDrive(const std::filesystem::path& folder) {
    wchar_t prefix[1024];
    const std::wstring onC = folder.wstring();
    if (GetEnvironmentVariableW(L"WINEPREFIX", prefix, 1024) == 0 || onC.rfind(L"C:\\", 0) != 0) return {};
    std::wstring throughRoot = L"Z:" + std::wstring(prefix) + L"\\drive_c\\" + onC.substr(3);
    for (wchar_t& c : throughRoot)
        if (c == L'/') c = L'\\';
    return throughRoot;
}

}  // namespace

OtherName::OtherName(const std::filesystem::path& folder, const std::filesystem::path&) {
    // The last free letter, as people pick them for `subst`.
    const DWORD used = GetLogicalDrives();
    for (wchar_t letter = L'Y'; letter > L'D' && drive_.empty(); --letter) {
        if ((used & (1u << (letter - L'A'))) == 0) drive_ = std::wstring(1, letter) + L":";
    }
    if (!drive_.empty() && DefineDosDeviceW(0, drive_.c_str(), folder.wstring().c_str()) &&
        GetFileAttributesW((drive_ + L"\\").c_str()) != INVALID_FILE_ATTRIBUTES) {
        path_ = drive_ + L"\\";
        return;
    }
    // Wine takes the definition but finds no files through it; its drive Z:
    // is the other name there.
    if (!drive_.empty()) DefineDosDeviceW(DDD_REMOVE_DEFINITION, drive_.c_str(), nullptr);
    drive_.clear();
    path_ = throughWineRootDrive(folder);
    if (path_.empty()) whyNot_ = "no drive letter could be defined";
}

OtherName::~OtherName() {
    if (!drive_.empty()) DefineDosDeviceW(DDD_REMOVE_DEFINITION, drive_.c_str(), nullptr);
}

#else
OtherName::OtherName(const std::filesystem::path& folder, const std::filesystem::path& scratch) {
    const std::filesystem::path mountPoint = scratch / "otro nombre";
    std::filesystem::create_directories(mountPoint);
    if (mount(folder.c_str(), mountPoint.c_str(), nullptr, MS_BIND, nullptr) != 0) {
        whyNot_ = std::string("a bind mount needs root: ") + std::strerror(errno);
        return;
    }
    path_ = mountPoint;
}

OtherName::~OtherName() {
    if (!path_.empty()) umount2(path_.c_str(), MNT_DETACH);
}
#endif

}  // namespace ruror::test
