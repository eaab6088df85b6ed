#include "backup/fun_copiar.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/backup_harness.h"

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

    bool copy(const std::string& name = "Lunes") {
        h.load();
        quvetra = snapshot(h.program());
        h.window.setText(Control::Text1, text(h.destination()) + kSeparator);
        h.window.setText(Control::Text2, name);
        return FunCopiar(h.window, h.dialogs, h.files);
    }

    BackupHarness h;
    std::map<std::string, std::string> quvetra;
};

TEST_F(FunCopiarTest, TheMdbWinsOverTheAccdb) {
    const std::string mdb = h.addDatabase(".mdb", 1000, 1);
    h.addDatabase(".accdb", 1000, 2);
    EXPECT_TRUE(copy());
    EXPECT_EQ(readFile(h.destination() / "Lunes.qvtdb"), mdb);
}

TEST_F(FunCopiarTest, AnAccdbAloneIsCopiedUnderTheBackupExtension) {
    const std::string accdb = h.addDatabase(".accdb");
    EXPECT_TRUE(copy());
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
    EXPECT_TRUE(copy());
    const fs::path backup = h.destination() / "Lunes.qvtdb";
    EXPECT_EQ(fs::status(backup).permissions(), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(fs::last_write_time(backup), time);
}

#endif

TEST_F(FunCopiarTest, ProgressAdvancesThroughTheDatabaseAndEachStage) {
    h.addDatabase(".mdb", 9 << 20);
    h.addDataCentre();
    h.load();
    EXPECT_TRUE(copy());
    // The database is copied, then read back from the drive, the window told
    // as it goes: the bar covers both halves, to the end.
    constexpr long long kSize = 9 << 20;
    std::vector<std::pair<long long, long long>> bytes;
    for (const auto& step : h.window.progress)
        if (step.second == 2 * kSize) bytes.push_back(step);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.back().first, 2 * kSize);
    EXPECT_NE(std::find_if(bytes.begin(), bytes.end(), [](const auto& step) { return step.first > kSize; }),
              bytes.end());
    EXPECT_TRUE(std::is_sorted(bytes.begin(), bytes.end()));
    // Then the files of each stage; the bar is hidden at the end.
    EXPECT_NE(std::find(h.window.progress.begin(), h.window.progress.end(), std::make_pair(2LL, 2LL)),
              h.window.progress.end());
    EXPECT_EQ(h.window.progress.back(), std::make_pair(0LL, 0LL));
}

#ifndef _WIN32
TEST_F(FunCopiarTest, NamesThatAreNotUtf8OrOddAreCopiedUnderTheirExactBytes) {
    h.addDatabase(".mdb");
    const std::vector<std::string> names = {"caf\xe9.doc", std::string(255, 'n'), "con espacios y \"comillas\"",
                                            "#100% \n nueva línea", "'"};
    for (const std::string& name : names) writeFile(h.program() / "QVT Datos/Archivo" / name, name);
    h.load();
    EXPECT_TRUE(copy());
    for (const std::string& name : names)
        EXPECT_EQ(readFile(h.destination() / "Respaldo QVT/Archivo" / name), name) << name;
}

#endif

TEST_F(FunCopiarTest, ABackupNameTakenByAFolderIsAFailureOfTheDatabaseStage) {
    h.addDatabase(".mdb");
    fs::create_directory(h.destination() / "Lunes.qvtdb");
    EXPECT_FALSE(copy());
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_TRUE(h.dialogs.boxes[0].text.find("\r\nDescripción: Ya existe una carpeta con ese nombre\r\n") !=
                std::string::npos)
        << h.dialogs.boxes[0].text;
    EXPECT_TRUE(fs::is_empty(h.destination() / "Lunes.qvtdb"));
    EXPECT_EQ(snapshot(h.destination()).size(), 1u) << "a temporary file was left";
}

TEST_F(FunCopiarTest, ATreeFolderTakenByAFileIsReportedWithEachFileNotCopied) {
    h.addDatabase(".mdb");
    h.addDataCentre();
    writeFile(h.destination() / "Respaldo QVT/Archivo", "no soy una carpeta");
    EXPECT_FALSE(copy());
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    const std::string report = h.dialogs.boxes[0].text;
    EXPECT_NE(report.find("Respaldo QVT" + kSeparator + "Archivo': Ya existe un archivo con ese nombre ("),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("'" + text(h.program() / "QVT Datos" / "Archivo" / "recibo.pdf") + "'"), std::string::npos)
        << report;
    // The other folders were copied whole.
    EXPECT_EQ(readFile(h.destination() / "Respaldo QVT/Plantillas/carta.dot"), "carta");
}

// A stick pulled out in the middle of the data centre: the stages stop with
// one line for the drive and how many documents were not copied, not one
// failure for each of them.
TEST_F(FunCopiarTest, ADestinationGoneMidRunStopsTheStagesWithOneLine) {
    h.addDatabase(".mdb");
    h.addDataCentre();  // 2 documents at the top, 2 in Archivo, 1 in Plantillas, 1 in Referencias
    const fs::path stick = h.destination() / "usb";
    fs::create_directory(stick);
    h.window.onStatus = [&](const std::string& status) {
        if (status.find("Archivo") != std::string::npos) fs::remove_all(stick);
    };
    h.load();
    quvetra = snapshot(h.program());
    h.window.setText(Control::Text1, text(stick) + kSeparator);
    h.window.setText(Control::Text2, "Lunes");
    EXPECT_FALSE(FunCopiar(h.window, h.dialogs, h.files));
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    const std::string& report = h.dialogs.boxes[0].text;
    EXPECT_EQ(h.dialogs.boxes[0].title, "Respaldo incompleto");
    EXPECT_NE(report.find("La unidad de destino ya no está disponible: no se copiaron 4 documentos"), std::string::npos)
        << report;
    EXPECT_EQ(report.find("\r\n- "), report.rfind("\r\n- ")) << "one line only: " << report;
    EXPECT_FALSE(fs::exists(stick)) << "nothing was made again where the stick was";
}

TEST_F(FunCopiarTest, KeptDocumentsOlderThanQuvetrasAreToldAndTheBackupStaysWhole) {
    h.addDatabase(".mdb");
    h.addDataCentre();
    ASSERT_TRUE(copy());
    // Since that backup: one document edited in place, one the same size but
    // newer, one untouched; and 25 more edited, to show the list's end.
    writeFile(h.program() / "QVT Datos/notas.txt", "notas revisadas");
    const fs::path receipt = h.program() / "QVT Datos/Archivo/recibo.pdf";
    fs::last_write_time(receipt, fs::last_write_time(receipt) + std::chrono::hours(1));
    for (int i = 0; i < 25; ++i) {
        const fs::path document = h.program() / "QVT Datos/Referencias" / ("tabla " + std::to_string(i) + ".xls");
        writeFile(h.destination() / "Respaldo QVT/Referencias" / document.filename(), "tabla");
        writeFile(document, "tabla nueva");
    }
    h.dialogs.boxes.clear();
    EXPECT_TRUE(copy());
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    const std::string& notice = h.dialogs.boxes[0].text;
    EXPECT_EQ(h.dialogs.boxes[0].style, 64);
    EXPECT_EQ(h.dialogs.boxes[0].title, "Documentos no actualizados");
    EXPECT_TRUE(notice.starts_with("27 documentos han cambiado en Quvetra desde que se copiaron a '" +
                                   text(h.destination()) + kSeparator + kSeparator + "Respaldo QVT'"))
        << notice;
    EXPECT_NE(notice.find("\r\n- notas.txt\r\n- Archivo" + kSeparator + "recibo.pdf\r\n- Referencias" + kSeparator +
                          "tabla 0.xls"),
              std::string::npos)
        << notice;
    EXPECT_NE(notice.find("Y 7 más."), std::string::npos) << notice;
    EXPECT_NE(notice.find("ubicación nueva o vacía"), std::string::npos) << notice;
    // The tree keeps the earlier versions.
    EXPECT_EQ(readFile(h.destination() / "Respaldo QVT/notas.txt"), "notas");
}

#ifndef _WIN32  // links
TEST_F(FunCopiarTest, ABackupNameTakenByALinkReplacesTheLinkNotItsTarget) {
    const std::string database = h.addDatabase(".mdb");
    const fs::path other = writeFile(h.destination() / "otro.txt", "otro");
    fs::create_symlink(other, h.destination() / "Lunes.qvtdb");
    EXPECT_TRUE(copy());
    EXPECT_FALSE(fs::is_symlink(h.destination() / "Lunes.qvtdb"));
    EXPECT_EQ(readFile(h.destination() / "Lunes.qvtdb"), database);
    EXPECT_EQ(readFile(other), "otro");
}
#endif

}  // namespace
}  // namespace ruror::test
