#pragma once

#include <dirent.h>

#include <cstddef>
#include <filesystem>
#include <vector>

#include "core/file_system.h"

namespace ruror::posix {

// The real file system of a POSIX machine.
class PosixFileSystem final : public FileSystem {
public:
    // The program folder is the one the running executable lies in.
    PosixFileSystem();
    // For a program folder given by its caller.
    explicit PosixFileSystem(std::filesystem::path programFolder);

    std::filesystem::path programFolder() const override;
    std::filesystem::path findFirst(const std::filesystem::path& pathOrPattern, int attributes) override;
    std::filesystem::path findNext() override;
    std::vector<std::filesystem::path> subFolders(const std::filesystem::path& folder) override;
    std::vector<Failure> listingFailures() const override;
    std::vector<std::filesystem::path> listingLinks() const override;
    std::optional<FileStamp> fileStamp(const std::filesystem::path& file) override;
    bool isFolder(const std::filesystem::path& path) override;
    bool isLink(const std::filesystem::path& path) override;
    TreeFolder treeFolder(const std::filesystem::path& folder) override;
    std::optional<std::uint64_t> freeSpace(const std::filesystem::path& folder) override;
    bool liesWithin(const std::filesystem::path& folder, const std::filesystem::path& container) override;
    WriterHold keepWritersOut(const std::filesystem::path& file) override;
    void letWritersIn() override;
    Outcome createFolder(const std::filesystem::path& folder, const std::filesystem::path& likeFolder) override;
    Outcome flushFolder(const std::filesystem::path& folder, const KeepAnswering& between) override;
    void removeAbandonedTemporaryFiles(const std::filesystem::path& folder) override;

    int openSource(const std::filesystem::path& source, bool followLink, const KeepAnswering& between,
                   std::unique_ptr<CopySource>& opened) override;
    Destination destinationState(const std::filesystem::path& destination) override;
    std::optional<std::uint64_t> largestFileOn(const std::filesystem::path& folder) override;
    int createCopy(const std::filesystem::path& folder, std::uint64_t size,
                   std::unique_ptr<CopyTarget>& created) override;
    std::vector<int> flushTogether(const std::vector<CopyTarget*>& copies, const KeepAnswering& between) override;
    Failure failure(int code, std::string source) const override;
    int errorCode(Refusal refusal) const override;

private:
    void startListing(const std::filesystem::path& folder, int attributes);
    void readListing(DIR* dir, const std::filesystem::path& folder, int attributes);

    std::filesystem::path programFolder_;
    std::vector<std::filesystem::path> listing_;
    std::size_t next_ = 0;
    std::vector<Failure> listingFailures_;
    std::vector<std::filesystem::path> listingLinks_;
};

}  // namespace ruror::posix
