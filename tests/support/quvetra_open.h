#pragma once

#include <filesystem>
#include <string>

namespace ruror::test {

// Quvetra working on its database, as long as this object lives: the lock
// file beside the database and, where the system has sharing rules
// (Windows), the database held open for reading and writing, shared for
// both, as a database engine holds it.
class QuvetraOpen {
public:
    // `database` is "QVT Datos.mdb" or "QVT Datos.accdb" in the program folder.
    QuvetraOpen(const std::filesystem::path& programFolder, const std::string& database);
    ~QuvetraOpen() { close(); }
    QuvetraOpen(const QuvetraOpen&) = delete;
    QuvetraOpen& operator=(const QuvetraOpen&) = delete;

    // Quvetra closed: the database let go and the lock file removed.
    void close();
    // The file the in-use question names: the database where the system
    // tells who writes it (Windows), the lock file elsewhere.
    const std::filesystem::path& namedInQuestion() const { return named_; }

private:
    std::filesystem::path lockFile_;
    std::filesystem::path named_;
#ifdef _WIN32
    void* held_ = nullptr;
#endif
};

}  // namespace ruror::test
