#include <gtest/gtest.h>

#include "main_window/messages.h"
#include "tests/support/backup_harness.h"

namespace ruror::test {
namespace {

namespace fs = std::filesystem;

class AcceptFlow : public ::testing::Test {
protected:
    // Quvetra's own files, to prove that no backup ever changes them.
    void SetUp() override {
        database = h.addDatabase(".mdb");
        h.addDataCentre();
        h.load();
        before = snapshot(h.program());
    }
    void TearDown() override { EXPECT_EQ(snapshot(h.program()), before) << "Quvetra's files changed"; }

    std::string location() const { return h.destination().string() + "/"; }
    fs::path backupFile(const std::string& name = "Lunes") const { return h.destination() / (name + ".qvtdb"); }
    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const auto& shown : h.dialogs.boxes) texts.push_back(shown.text);
        return texts;
    }

    BackupHarness h;
    std::string database;
    std::map<std::string, std::string> before;
};

TEST_F(AcceptFlow, OneWholeBackupCopiesTheDatabaseAndTheDataCentreAndCloses) {
    h.accept(location(), " Lunes ");

    EXPECT_EQ(readFile(backupFile()), database);
    EXPECT_EQ(snapshot(h.destination() / "Respaldo QVT"), h.expectedTree());

    const std::vector<std::pair<std::string, bool>> statuses = {
        {"Proceso 1 de 5: Creando respaldo principal...", true},
        {"Proceso 2 de 5: Respaldando centro de datos...", true},
        {"Proceso 3 de 5: Respaldando Archivo...", true},
        {"Proceso 4 de 5: Respaldando Plantillas...", true},
        {"Proceso 5 de 5: Respaldando Referencias...", true},
        {"Procesos completos", false}};
    EXPECT_EQ(h.window.statuses, statuses);
    ASSERT_EQ(boxTexts(), std::vector<std::string>{messages::kBackupSucceeded});
    EXPECT_EQ(h.dialogs.boxes[0].style, 64);
    EXPECT_EQ(h.dialogs.boxes[0].title, "");

    EXPECT_FALSE(h.window.allEnabled());
    EXPECT_EQ(h.window.busyHistory, (std::vector<bool>{true, false}));
    EXPECT_TRUE(h.window.closed);
    // The window answered its events while the files were copied.
    EXPECT_GE(h.window.eventsProcessed, 6);
}

TEST_F(AcceptFlow, OnlyTheDatabaseWhenTheDataCentreOptionIsCleared) {
    h.window.checked = false;
    h.accept(location());

    EXPECT_EQ(readFile(backupFile()), database);
    EXPECT_FALSE(fs::exists(h.destination() / "Respaldo QVT"));
    EXPECT_EQ(h.window.statuses.front().first, "Proceso 1 de 1: Creando respaldo principal...");
    EXPECT_EQ(h.window.statuses.size(), 2u);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{messages::kBackupSucceeded});
}

TEST_F(AcceptFlow, EmptyFieldsAreRefusedWithTheFocusOnTheFieldAtFault) {
    h.accept("   ", "");
    EXPECT_EQ(boxTexts(), std::vector<std::string>{messages::kLocationEmpty});
    EXPECT_EQ(h.dialogs.boxes[0].style, 64);
    EXPECT_EQ(h.window.focus, Control::Text1);

    h.dialogs.boxes.clear();
    h.accept(location(), "   ");
    EXPECT_EQ(boxTexts(), std::vector<std::string>{messages::kNameEmpty});
    EXPECT_EQ(h.window.focus, Control::Text2);

    EXPECT_FALSE(h.window.closed);
    EXPECT_TRUE(h.window.allEnabled());
    EXPECT_TRUE(fs::is_empty(h.destination()));
}

TEST_F(AcceptFlow, AnExistingBackupIsReplacedOnlyAfterYes) {
    writeFile(backupFile(), "respaldo anterior");
    writeFile(h.destination() / "Respaldo QVT/notas.txt", "notas de ayer");
    const auto earlier = snapshot(h.destination());

    h.dialogs.answers = {box::kAnswerNo};
    h.accept(h.destination().string(), " Lunes ");
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_EQ(h.dialogs.boxes[0].text,
              "El nombre 'Lunes' se encuentra ya asignado a un archivo. ¿Desea sobreescribir el respaldo sobre este "
              "archivo?");
    EXPECT_EQ(h.dialogs.boxes[0].style, 36);
    EXPECT_EQ(snapshot(h.destination()), earlier);
    EXPECT_FALSE(h.window.closed);
    EXPECT_TRUE(h.window.allEnabled());

    h.accept(location(), "Lunes");
    EXPECT_EQ(readFile(backupFile()), database);
    // A file already in the backup tree is kept as it was.
    EXPECT_EQ(readFile(h.destination() / "Respaldo QVT/notas.txt"), "notas de ayer");
    EXPECT_EQ(boxTexts().back(), messages::kBackupSucceeded);
}

TEST_F(AcceptFlow, AMissingDatabaseIsReportedWithTheProgramFolder) {
    fs::remove(h.program() / "QVT Datos.mdb");
    before = snapshot(h.program());
    h.accept(location());
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_EQ(h.dialogs.boxes[0].text,
              "La operación que intenta realizar, no podrá ser realizada.\r\n\r\nLa base de "
              "datos de Quvetra '" +
                  h.program().string() + "/QVT Datos.mdb o QVT Datos.accdb' no se encontró");
    EXPECT_EQ(h.dialogs.boxes[0].style, 16);
    EXPECT_FALSE(h.window.closed);
    EXPECT_TRUE(fs::is_empty(h.destination()));
}

TEST_F(AcceptFlow, AMissingDestinationShowsTheFailureReportThenTheFailureBox) {
    h.accept((h.destination() / "no existe").string() + "/");
    ASSERT_EQ(h.dialogs.boxes.size(), 2u);
    const std::string report = h.dialogs.boxes[0].text;
    EXPECT_EQ(report.substr(0, report.find("\r\n")), "Número: 2");
    EXPECT_NE(report.find("\r\nDescripción: No existe el archivo o el directorio\r\n\r\nFuente: "), std::string::npos);
    EXPECT_TRUE(report.ends_with("\r\nVentana: Principal           Proceso : FunCopiar\r\nDetalle : ")) << report;
    EXPECT_EQ(h.dialogs.boxes[0].style, 0);
    EXPECT_EQ(h.dialogs.boxes[0].title, "Ha ocurrido un error");
    EXPECT_EQ(h.dialogs.boxes[1].text, messages::kBackupFailed);
    EXPECT_EQ(h.dialogs.boxes[1].style, 16);
    EXPECT_EQ(h.window.texts[Control::Label3], "Proceso 1 de 5: Creando respaldo principal...");
    EXPECT_TRUE(h.window.closed);
    EXPECT_TRUE(fs::is_empty(h.destination()));
}

TEST_F(AcceptFlow, APathThatCannotBeFormedIsRefusedBeforeAnythingIsWritten) {
    struct Case {
        std::string location, name;
        Control field;
    };
    const std::vector<Case> cases = {
        {location(), "a/b", Control::Text2},
        {location(), "..", Control::Text2},
        {location(), ".", Control::Text2},
        {location(), "línea\nnueva", Control::Text2},
        {location(), std::string(250, 'x'), Control::Text2},
        {"copias/", "Lunes", Control::Text1},
        {location() + "\t", "Lunes", Control::Text1},
    };
    for (const Case& bad : cases) {
        h.dialogs.boxes.clear();
        h.window.focus = Control::Check1;
        h.accept(bad.location, bad.name);
        ASSERT_EQ(h.dialogs.boxes.size(), 1u) << bad.name;
        EXPECT_TRUE(h.dialogs.boxes[0].text.starts_with("La ruta del respaldo no es válida:\r\n\r\n'" + bad.location))
            << h.dialogs.boxes[0].text;
        EXPECT_EQ(h.window.focus, bad.field) << bad.name;
        EXPECT_TRUE(h.window.allEnabled());
        EXPECT_FALSE(h.window.closed);
    }
    EXPECT_TRUE(fs::is_empty(h.destination()));
}

TEST_F(AcceptFlow, ACloseRequestDuringTheCopyWaitsForTheResult) {
    bool triedToClose = false;
    h.window.onProcessEvents = [&] {
        if (triedToClose) return;
        triedToClose = true;
        h.principal.keyPress(27);  // Escape
        EXPECT_FALSE(h.window.closed);
        // A second click cannot start another backup.
        h.principal.toolbar1ButtonClick("Aceptar");
    };
    h.accept(location());
    EXPECT_TRUE(triedToClose);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{messages::kBackupSucceeded});
    EXPECT_TRUE(h.window.closed);
    EXPECT_EQ(readFile(backupFile()), database);
}

TEST_F(AcceptFlow, ALockFileBesideTheDatabaseAsksBeforeCopying) {
    writeFile(h.program() / "QVT Datos.ldb", "");
    before = snapshot(h.program());
    h.dialogs.answers = {box::kAnswerNo};
    h.accept(location());
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_NE(h.dialogs.boxes[0].text.find("'" + h.program().string() + "/QVT Datos.ldb'"), std::string::npos);
    // Yes and No, question icon, No the default answer.
    EXPECT_EQ(h.dialogs.boxes[0].style, 4 + 32 + 256);
    EXPECT_TRUE(fs::is_empty(h.destination()));
    EXPECT_TRUE(h.window.allEnabled());
    EXPECT_FALSE(h.window.closed);

    h.dialogs.boxes.clear();
    h.accept(location());
    EXPECT_EQ(boxTexts().back(), messages::kBackupSucceeded);
    EXPECT_EQ(readFile(backupFile()), database);
}

TEST_F(AcceptFlow, OnlyTheLockFileOfTheCopiedDatabaseCounts) {
    // The ".mdb" is the one copied; a lock file of the ".accdb" is not its own.
    writeFile(h.program() / "QVT Datos.laccdb", "");
    before = snapshot(h.program());
    h.accept(location());
    EXPECT_EQ(boxTexts(), std::vector<std::string>{messages::kBackupSucceeded});
}

TEST_F(AcceptFlow, TheLockFileOfAnAccdbAsksToo) {
    fs::remove(h.program() / "QVT Datos.mdb");
    h.addDatabase(".accdb");
    writeFile(h.program() / "QVT Datos.laccdb", "");
    before = snapshot(h.program());
    h.dialogs.answers = {box::kAnswerNo};
    h.accept(location());
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_NE(h.dialogs.boxes[0].text.find("QVT Datos.laccdb"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(h.destination()));
}

TEST_F(AcceptFlow, CancelClosesAtOnceWithoutAnyCheck) {
    h.principal.toolbar1ButtonClick("Cancelar");
    EXPECT_TRUE(h.window.closed);
    EXPECT_TRUE(h.dialogs.boxes.empty());
}

}  // namespace
}  // namespace ruror::test
