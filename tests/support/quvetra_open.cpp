#include "tests/support/quvetra_open.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <stdexcept>

#include "tests/support/temp_folder.h"

namespace ruror::test {

QuvetraOpen::QuvetraOpen(const std::filesystem::path& programFolder, const std::string& database) {
    const bool accdb = database.ends_with(".accdb");
    lockFile_ = writeFile(programFolder / (accdb ? "QVT Datos.laccdb" : "QVT Datos.ldb"), "");
    named_ = lockFile_;
#ifdef _WIN32
    named_ = programFolder / database;
    held_ = CreateFileW(named_.wstring().c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, 0, nullptr);
    if (held_ == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot hold the database open");
#endif
}

void QuvetraOpen::close() {
#ifdef _WIN32
    if (held_ != nullptr && held_ != INVALID_HANDLE_VALUE) CloseHandle(held_);
    held_ = nullptr;
#endif
    std::error_code ignored;
    std::filesystem::remove(lockFile_, ignored);
}

}  // namespace ruror::test
