#include "os/posix/posix_file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "backup/verified_copy.h"
#include "os/posix/temporary_file.h"
#include "tests/support/temp_folder.h"

namespace ruror::posix {
namespace {

namespace fs = std::filesystem;
using test::makeSocket;
using test::readFile;
using test::snapshot;
using test::TempFolder;
using test::writeFile;

std::vector<std::string> listAll(PosixFileSystem& files, const fs::path& folder, int mask) {
    std::vector<std::string> names;
    for (fs::path name = files.findFirst(folder / "*.*", mask); !name.empty(); name = files.findNext())
        names.push_back(name.string());
    return names;
}

TEST(Listing, HoldsOnlyVisiblePlainFilesInNameOrder) {
    TempFolder t;
    writeFile(t / "b.txt", "b");
    writeFile(t / "a.txt", "a");
    writeFile(t / ".oculto", "x");
    writeFile(t / "carpeta/dentro.txt", "x");
    ASSERT_EQ(mkfifo((t / "tubo").c_str(), 0600), 0);
    makeSocket(t / "enchufe");
    fs::create_symlink(t / "a.txt", t / "c-enlace");
    fs::create_symlink(t / "no-existe", t / "d-roto");
    fs::create_symlink(t / "e-bucle", t / "e-bucle");
    fs::create_symlink(t / "carpeta", t / "f-enlace-carpeta");

    PosixFileSystem files(t.path());
    EXPECT_EQ(listAll(files, t.path(), 32), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(files.findNext(), fs::path());
    EXPECT_TRUE(files.listingFailures().empty());
    // Links are named, never followed, whatever they point to.
    EXPECT_EQ(files.listingLinks(), (std::vector<fs::path>{"c-enlace", "d-roto", "e-bucle", "f-enlace-carpeta"}));
    EXPECT_TRUE(files.subFolders(t.path()) == std::vector<fs::path>{"carpeta"});
    // Nor is a folder that is itself a link listed.
    EXPECT_TRUE(listAll(files, t / "f-enlace-carpeta", 32).empty());
    EXPECT_TRUE(files.listingFailures().empty());
    EXPECT_TRUE(files.subFolders(t / "f-enlace-carpeta").empty());
}

TEST(Listing, AMissingFolderIsEmptyAndNoFailure) {
    TempFolder t;
    PosixFileSystem files(t.path());
    EXPECT_TRUE(listAll(files, t / "no-existe", 32).empty());
    EXPECT_TRUE(files.listingFailures().empty());
}

TEST(LookUp, MasksMatchPlainFilesAndFoldersOnlyWhereAsked) {
    TempFolder t;
    writeFile(t / "archivo", "x");
    fs::create_directory(t / "carpeta");
    ASSERT_EQ(mkfifo((t / "tubo").c_str(), 0600), 0);
    PosixFileSystem files(t.path());
    EXPECT_EQ(files.findFirst(t / "archivo", 0), "archivo");
    EXPECT_EQ(files.findFirst(t / "archivo", 16), "archivo");
    EXPECT_EQ(files.findFirst(t / "carpeta", 16), "carpeta");
    EXPECT_EQ(files.findFirst(t / "carpeta", 32), fs::path());
    EXPECT_EQ(files.findFirst(t / "tubo", 16), fs::path());
    EXPECT_EQ(files.findFirst(t / "falta", 0), fs::path());
    // Paths joined with a doubled separator name the same entry.
    EXPECT_EQ(files.findFirst(fs::path(t.path().string() + "//archivo"), 0), "archivo");
}

TEST(Copy, AFailedCopyLeavesTheOldFileAndNoTemporaryFile) {
    TempFolder t;
    fs::create_directory(t / "no-es-archivo");
    writeFile(t / "destino", "viejo");
    PosixFileSystem files(t.path());
    const Outcome failure = copyVerified(files, t / "no-es-archivo", t / "destino", true, {});
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->number, EINVAL);
    EXPECT_EQ(readFile(t / "destino"), "viejo");

    ASSERT_EQ(mkfifo((t / "tubo").c_str(), 0600), 0);
    EXPECT_TRUE(copyVerified(files, t / "tubo", t / "destino", true, {}));  // returns, never hangs
    EXPECT_EQ(readFile(t / "destino"), "viejo");
    EXPECT_EQ(snapshot(t.path()).size(), 3u);
}

TEST(TemporaryFiles, OnlyThoseOfEndedRunsAreRemoved) {
    TempFolder t;
    // One left by a run that ended: nobody holds its lock.
    writeFile(t / ".ruror-0123456789abcdef.tmp", "resto");
    // One that a running copy is still writing.
    int error = 0;
    TemporaryFile running = TemporaryFile::create(t.path(), error);
    ASSERT_EQ(error, 0);
    // Files that only look alike are not this program's.
    writeFile(t / ".ruror-notas", "ajeno");
    writeFile(t / "ruror-0123456789abcdef.tmp", "ajeno");

    PosixFileSystem files(t.path());
    files.removeAbandonedTemporaryFiles(t.path());
    EXPECT_FALSE(fs::exists(t / ".ruror-0123456789abcdef.tmp"));
    EXPECT_TRUE(fs::exists(running.path()));
    EXPECT_TRUE(fs::exists(t / ".ruror-notas"));
    EXPECT_TRUE(fs::exists(t / "ruror-0123456789abcdef.tmp"));
}

}  // namespace
}  // namespace ruror::posix
