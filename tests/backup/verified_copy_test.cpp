// The verified copy on the machine's own file system: the same cases for
// both systems.

#include "backup/verified_copy.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/native_file_system.h"
#include "tests/support/temp_folder.h"

namespace ruror::test {
namespace {

namespace fs = std::filesystem;

TEST(VerifiedCopy, WithoutOverwriteAnExistingFileIsKeptAndWithItReplaced) {
    TempFolder t;
    writeFile(t / "nuevo.pdf", "nuevo");
    writeFile(t / "copia.pdf", "anterior");
    NativeFileSystem files(t.path());
    const Outcome kept = copyVerified(files, t / "nuevo.pdf", t / "copia.pdf", false, {});
    ASSERT_TRUE(kept);
    EXPECT_TRUE(kept->destinationExisted);
    EXPECT_EQ(readFile(t / "copia.pdf"), "anterior");

    EXPECT_FALSE(copyVerified(files, t / "nuevo.pdf", t / "copia.pdf", true, {}));
    EXPECT_EQ(readFile(t / "copia.pdf"), "nuevo");
    // The copy shows as a plain file, found under mask 32, with the source's time.
    EXPECT_EQ(files.findFirst(t / "copia.pdf", attribute::kArchive), fs::path("copia.pdf"));
    EXPECT_EQ(files.fileStamp(t / "copia.pdf")->modifiedNanoseconds,
              files.fileStamp(t / "nuevo.pdf")->modifiedNanoseconds);
    EXPECT_EQ(snapshot(t.path()).size(), 2u) << "a temporary file was left";
}

// A large file goes through pieces on helper threads, past the cache: it
// arrives whole, to the byte, and the progress covers the copy and the
// reading back to the end.
TEST(VerifiedCopy, ALargeFileIsCopiedWholeAndItsProgressReachesTheEnd) {
    TempFolder t;
    const std::uint64_t size = (10 << 20) + 123;
    const std::string content = randomBytes(size, 3);
    writeFile(t / "origen", content);
    NativeFileSystem files(t.path());
    std::vector<std::uint64_t> done;
    ASSERT_FALSE(copyVerified(files, t / "origen", t / "destino", true, [&](std::uint64_t part, std::uint64_t total) {
        if (total == 0) return;  // a wait before the size is known
        EXPECT_EQ(total, 2 * size);
        done.push_back(part);
    }));
    EXPECT_EQ(readFile(t / "destino"), content);
    EXPECT_TRUE(std::is_sorted(done.begin(), done.end()));
    EXPECT_NE(std::find(done.begin(), done.end(), size), done.end()) << "the copy's half";
    ASSERT_FALSE(done.empty());
    EXPECT_EQ(done.back(), 2 * size);
}

TEST(VerifiedCopy, CopiesOfABatchTakeTheirNamesOnlyWhenCommitted) {
    TempFolder t;
    writeFile(t / "origen/a", "a");
    writeFile(t / "origen/b", "b");
    fs::create_directory(t / "destino");
    NativeFileSystem files(t.path());
    CopyBatch batch(files);
    ASSERT_FALSE(batch.add(t / "origen/a", t / "destino/a", {}));
    ASSERT_FALSE(batch.add(t / "origen/b", t / "destino/b", {}));
    EXPECT_FALSE(fs::exists(t / "destino/a"));
    // Another program writes one of the names first: its file is kept.
    writeFile(t / "destino/b", "de otro");

    EXPECT_TRUE(batch.commit({}).empty());
    EXPECT_EQ(batch.takeKeptOut(), std::vector<fs::path>{t / "origen/b"});
    ASSERT_EQ(batch.placed().size(), 1u);
    EXPECT_EQ(batch.placed()[0].destination, t / "destino/a");
    EXPECT_EQ(readFile(t / "destino/a"), "a");
    EXPECT_EQ(readFile(t / "destino/b"), "de otro");
    EXPECT_EQ(snapshot(t / "destino").size(), 2u);
    EXPECT_TRUE(batch.commit({}).empty());
    EXPECT_TRUE(batch.takeKeptOut().empty());
}

// A batch never holds more than its share of open files: the next copy
// commits those before it.
TEST(VerifiedCopy, AFullBatchCommitsItself) {
    TempFolder t;
    NativeFileSystem files(t.path());
    CopyBatch batch(files);
    fs::create_directory(t / "destino");
    for (std::size_t i = 0; i < CopyBatch::kMostCopies; ++i) {
        const std::string name = "doc" + std::to_string(i);
        writeFile(t / "origen" / name, name);
        ASSERT_FALSE(batch.add(t / "origen" / name, t / "destino" / name, {}));
    }
    EXPECT_EQ(readFile(t / "destino/doc0"), "doc0");
    EXPECT_TRUE(batch.commit({}).empty());
    EXPECT_EQ(snapshot(t / "destino").size(), CopyBatch::kMostCopies);
}

}  // namespace
}  // namespace ruror::test
