#include "backup/fun_copiar.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/path_text.h"
#include "tests/support/backup_harness.h"
#include "tests/support/recording_observer.h"

namespace ruror::test {
namespace {

namespace fs = std::filesystem;

class FunCopiarTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (!quvetra.empty()) {
            EXPECT_EQ(snapshot(h.program()), quvetra) << "Quvetra's files changed";
        }
    }

    // With the data centre where there is one, as the window offers it.
    BackupResult copy(const fs::path& location, bool dataCentre) {
        quvetra = snapshot(h.program());
        return FunCopiar(BackupRequest{h.program(), location, "Lunes", dataCentre}, h.files, observer);
    }
    BackupResult copy(const fs::path& location) { return copy(location, fs::is_directory(h.program() / "QVT Datos")); }
    BackupResult copy() { return copy(h.destination()); }

    // Whether a failure of the list names the path, and says why.
    static bool anyFailure(const std::vector<Failure>& failures, const std::string& path,
                           const std::string& description) {
        return std::any_of(failures.begin(), failures.end(), [&](const Failure& failure) {
            return failure.source.find("'" + path + "'") != std::string::npos && failure.description == description;
        });
    }

    BackupHarness h;
    RecordingObserver observer;
    std::map<std::string, std::string> quvetra;
};

TEST_F(FunCopiarTest, TheMdbWinsOverTheAccdb) {
    const std::string mdb = h.addDatabase(".mdb", 1000, 1);
    h.addDatabase(".accdb", 1000, 2);
    EXPECT_TRUE(copy().complete());
    EXPECT_EQ(readFile(h.destination() / "Lunes.qvtdb"), mdb);
}

TEST_F(FunCopiarTest, AnAccdbAloneIsCopiedUnderTheBackupExtension) {
    const std::string accdb = h.addDatabase(".accdb");
    EXPECT_TRUE(copy().complete());
    const auto written = snapshot(h.destination());
    ASSERT_EQ(written.size(), 1u);
    EXPECT_TRUE(written.begin()->second == accdb) << written.begin()->first;
}

#ifndef _WIN32  // permission bits and names of any bytes are POSIX's
TEST_F(FunCopiarTest, TheCopyKeepsTheDatabasesPermissionsAndTime) {
    h.addDatabase(".mdb");
    const fs::path database = h.program() / "QVT Datos.mdb";
    fs::permissions(database, fs::perms::owner_read | fs::perms::group_read);
    const auto time = fs::last_write_time(database) - std::chrono::hours(30);
    fs::last_write_time(database, time);
    EXPECT_TRUE(copy().complete());
    const fs::path backup = h.destination() / "Lunes.qvtdb";
    EXPECT_EQ(fs::status(backup).permissions(), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(fs::last_write_time(backup), time);
}

#endif

TEST_F(FunCopiarTest, ProgressAdvancesThroughTheDatabaseAndEachStage) {
    h.addDatabase(".mdb", 9 << 20);
    h.addDataCentre();
    EXPECT_TRUE(copy().complete());
    EXPECT_EQ(observer.stages, (std::vector<Stage>{Stage::Database, Stage::DataCentre, Stage::Archivo,
                                                   Stage::Plantillas, Stage::Referencias}));
    // The database is copied, then read back from the drive, the window told
    // as it goes: the bar covers both halves, to the end.
    constexpr long long kSize = 9 << 20;
    std::vector<std::pair<long long, long long>> bytes;
    for (const auto& step : observer.progressTold)
        if (step.second == 2 * kSize) bytes.push_back(step);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.back().first, 2 * kSize);
    EXPECT_NE(std::find_if(bytes.begin(), bytes.end(), [](const auto& step) { return step.first > kSize; }),
              bytes.end());
    EXPECT_TRUE(std::is_sorted(bytes.begin(), bytes.end()));
    // Then the files of each stage.
    EXPECT_NE(std::find(observer.progressTold.begin(), observer.progressTold.end(), std::make_pair(2LL, 2LL)),
              observer.progressTold.end());
    EXPECT_GE(observer.answered, 6);
}

TEST_F(FunCopiarTest, WithoutTheDataCentreOnlyTheDatabaseIsCopied) {
    const std::string database = h.addDatabase(".mdb");
    h.addDataCentre();
    EXPECT_TRUE(copy(h.destination(), false).complete());
    EXPECT_EQ(observer.stages, std::vector<Stage>{Stage::Database});
    EXPECT_EQ(snapshot(h.destination()), (std::map<std::string, std::string>{{"Lunes.qvtdb", database}}));
}

#ifndef _WIN32
TEST_F(FunCopiarTest, NamesThatAreNotUtf8OrOddAreCopiedUnderTheirExactBytes) {
    h.addDatabase(".mdb");
    const std::vector<std::string> names = {"caf\xe9.doc", std::string(255, 'n'), "con espacios y \"comillas\"",
                                            "#100% \n nueva línea", "'"};
    for (const std::string& name : names) writeFile(h.program() / "QVT Datos/Archivo" / name, name);
    EXPECT_TRUE(copy().complete());
    for (const std::string& name : names)
        EXPECT_EQ(readFile(h.destination() / "Respaldo QVT/Archivo" / name), name) << name;
}

#endif

TEST_F(FunCopiarTest, ABackupNameTakenByAFolderIsAFailureOfTheDatabaseStage) {
    h.addDatabase(".mdb");
    h.addDataCentre();
    fs::create_directory(h.destination() / "Lunes.qvtdb");
    const BackupResult result = copy();
    ASSERT_TRUE(result.databaseFailure);
    EXPECT_EQ(result.databaseFailure->description, "Ya existe una carpeta con ese nombre");
    EXPECT_EQ(observer.stages, std::vector<Stage>{Stage::Database}) << "nothing more is done";
    EXPECT_TRUE(fs::is_empty(h.destination() / "Lunes.qvtdb"));
    EXPECT_EQ(snapshot(h.destination()).size(), 1u) << "a temporary file was left";
}

TEST_F(FunCopiarTest, ATreeFolderTakenByAFileIsReportedWithEachFileNotCopied) {
    h.addDatabase(".mdb");
    h.addDataCentre();
    writeFile(h.destination() / "Respaldo QVT/Archivo", "no soy una carpeta");
    const BackupResult result = copy();
    EXPECT_FALSE(result.complete());
    const std::vector<Failure>& failures = result.dataCentre.failures;
    EXPECT_TRUE(anyFailure(failures, text(h.destination() / "Respaldo QVT" / "Archivo"),
                           "Ya existe un archivo con ese nombre"));
    const std::string receipt = text(h.program() / "QVT Datos" / "Archivo" / "recibo.pdf");
    EXPECT_TRUE(std::any_of(failures.begin(), failures.end(), [&](const Failure& failure) {
        return failure.source.find("'" + receipt + "'") != std::string::npos;
    }));
    // The other folders were copied whole.
    EXPECT_EQ(readFile(h.destination() / "Respaldo QVT/Plantillas/carta.dot"), "carta");
}

// A stick pulled out in the middle of the data centre: the stages stop with
// one line for the drive and how many documents were not copied, not one
// failure for each of them.
TEST_F(FunCopiarTest, ADestinationGoneMidRunStopsTheStagesAndCountsWhatWasNotCopied) {
    h.addDatabase(".mdb");
    h.addDataCentre();  // 2 documents at the top, 2 in Archivo, 1 in Plantillas, 1 in Referencias
    const fs::path stick = h.destination() / "usb";
    fs::create_directory(stick);
    observer.onStage = [&](Stage stage) {
        if (stage == Stage::Archivo) fs::remove_all(stick);
    };
    const BackupResult result = copy(stick);
    EXPECT_FALSE(result.complete());
    EXPECT_TRUE(result.dataCentre.destinationGone);
    EXPECT_EQ(result.dataCentre.notCopiedSinceGone, 4u);
    EXPECT_TRUE(result.dataCentre.failures.empty()) << "no failure for each document";
    EXPECT_FALSE(fs::exists(stick)) << "nothing was made again where the stick was";
}

TEST_F(FunCopiarTest, KeptDocumentsOlderThanQuvetrasAreFoundAndTheBackupStaysWhole) {
    h.addDatabase(".mdb");
    h.addDataCentre();
    ASSERT_TRUE(copy().complete());
    // Since that backup: one document edited in place, one the same size but
    // newer, one untouched; and two more edited, the same size or not.
    writeFile(h.program() / "QVT Datos/notas.txt", "notas revisadas");
    const fs::path receipt = h.program() / "QVT Datos/Archivo/recibo.pdf";
    fs::last_write_time(receipt, fs::last_write_time(receipt) + std::chrono::hours(1));
    for (int i = 0; i < 2; ++i) {
        const fs::path document = h.program() / "QVT Datos/Referencias" / ("tabla " + std::to_string(i) + ".xls");
        writeFile(h.destination() / "Respaldo QVT/Referencias" / document.filename(), "tabla");
        writeFile(document, "tabla nueva");
    }
    const BackupResult result = copy();
    EXPECT_TRUE(result.complete());
    EXPECT_EQ(result.dataCentre.outdated, (std::vector<std::string>{"notas.txt", "Archivo" + kSeparator + "recibo.pdf",
                                                                    "Referencias" + kSeparator + "tabla 0.xls",
                                                                    "Referencias" + kSeparator + "tabla 1.xls"}));
    // The tree keeps the earlier versions.
    EXPECT_EQ(readFile(h.destination() / "Respaldo QVT/notas.txt"), "notas");
}

#ifndef _WIN32  // links
TEST_F(FunCopiarTest, ABackupNameTakenByALinkReplacesTheLinkNotItsTarget) {
    const std::string database = h.addDatabase(".mdb");
    const fs::path other = writeFile(h.destination() / "otro.txt", "otro");
    fs::create_symlink(other, h.destination() / "Lunes.qvtdb");
    EXPECT_TRUE(copy().complete());
    EXPECT_FALSE(fs::is_symlink(h.destination() / "Lunes.qvtdb"));
    EXPECT_EQ(readFile(h.destination() / "Lunes.qvtdb"), database);
    EXPECT_EQ(readFile(other), "otro");
}
#endif

}  // namespace
}  // namespace ruror::test
