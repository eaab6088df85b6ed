#include "tests/support/temp_folder.h"

#ifndef _WIN32
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "core/path_text.h"

namespace ruror::test {

TempFolder::TempFolder() {
#ifdef _WIN32
    std::random_device random;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        const auto candidate = std::filesystem::temp_directory_path() / ("ruror-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) path_ = candidate;
    }
    if (path_.empty()) throw std::runtime_error("cannot make a temporary folder");
#else
    std::string pattern = (std::filesystem::temp_directory_path() / "ruror-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
#endif
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    // Folders a test made read-only must be writable again to be removed.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path writeFile(const std::filesystem::path& path, const std::string& content) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out) throw std::runtime_error("cannot write " + path.string());
    return path;
}

std::filesystem::path fillDriveLeaving(const std::filesystem::path& folder, std::uint64_t left) {
    std::filesystem::path filler = folder / "relleno de otro programa";
    const std::uint64_t available = std::filesystem::space(folder).available;
    if (available > left) writeFile(filler, std::string(available - left, 'r'));
    return filler;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string randomBytes(std::size_t size, unsigned variant) {
    std::mt19937 generator(variant);
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(generator() & 0xFF);
    return bytes;
}

std::string text(const std::filesystem::path& path) { return textFromPath(path); }

#ifndef _WIN32
void makeSocket(const std::filesystem::path& path) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.string().copy(address.sun_path, sizeof address.sun_path - 1);
    const bool bound = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    if (!bound) throw std::runtime_error("cannot make a socket at " + path.string());
}
#endif

namespace {

void addEntries(const std::filesystem::path& root, const std::filesystem::path& folder,
                std::map<std::string, std::string>& entries) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::u8string generic = entry.path().lexically_relative(root).generic_u8string();
        const std::string relative(generic.begin(), generic.end());
        const auto status = std::filesystem::symlink_status(entry.path());
        if (std::filesystem::is_symlink(status)) {
            entries[relative] = "<link " + std::filesystem::read_symlink(entry.path()).string() + ">";
        } else if (std::filesystem::is_directory(status)) {
            entries[relative] = "<dir>";
            addEntries(root, entry.path(), entries);
        } else if (std::filesystem::is_regular_file(status)) {
            entries[relative] = readFile(entry.path());
        } else {
            entries[relative] = "<special>";
        }
    }
}

}  // namespace

std::map<std::string, std::string> snapshot(const std::filesystem::path& folder) {
    std::map<std::string, std::string> entries;
    addEntries(folder, folder, entries);
    return entries;
}

std::vector<std::string> temporaryFiles(const std::filesystem::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.path().filename().string().starts_with(".ruror-")) found.push_back(entry.path().string());
    return found;
}

}  // namespace ruror::test
