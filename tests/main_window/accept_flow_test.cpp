#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "core/size_text.h"
#include "main_window/messages.h"
#include "tests/support/backup_harness.h"
#include "tests/support/other_name.h"
#include "tests/support/quvetra_open.h"

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

    std::string location() const { return text(h.destination()) + kSeparator; }
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
    h.addFoldersLeftOut();
    before = snapshot(h.program());
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
    // The figures under the bar climb to the whole backup, then go.
    std::uint64_t whole = database.size();
    for (const auto& [name, content] : h.expectedTree())
        if (content != "<dir>") whole += content.size();
    ASSERT_GE(h.window.figures.size(), 3u);
    EXPECT_EQ(h.window.figures[h.window.figures.size() - 2], "100 % · " + sizeText(whole) + " de " + sizeText(whole));
    EXPECT_EQ(h.window.figures.back(), "");
    // The folders the fixed layout leaves out are told before the result,
    // with the files each holds; an empty one loses nothing and is not named.
    ASSERT_EQ(boxTexts().size(), 2u);
    EXPECT_EQ(h.dialogs.boxes[0].title, "Carpetas no respaldadas");
    EXPECT_EQ(h.dialogs.boxes[0].style, box::kOkOnly | box::kInformation);
    EXPECT_NE(boxTexts()[0].find("\r\n- Otros (2 archivos)\r\n- Archivo" + kSeparator + "2025 (1 archivo)\r\n\r\n"),
              std::string::npos)
        << boxTexts()[0];
    EXPECT_EQ(boxTexts()[0].find("vacía"), std::string::npos);
    EXPECT_EQ(boxTexts()[1], messages::kBackupSucceeded);
    EXPECT_EQ(h.dialogs.boxes[1].style, box::kOkOnly | box::kInformation);
    EXPECT_EQ(h.dialogs.boxes[1].title, "");

    EXPECT_FALSE(h.window.allEnabled());
    EXPECT_EQ(h.window.busyHistory, (std::vector<bool>{true, false}));
    EXPECT_TRUE(h.window.closed);
    // The window answered its events while the files were copied, and the
    // progress bar is hidden once they are.
    EXPECT_GE(h.window.eventsProcessed, 6);
    ASSERT_FALSE(h.window.progress.empty());
    EXPECT_EQ(h.window.progress.back(), std::make_pair(0LL, 0LL));
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
    EXPECT_EQ(h.dialogs.boxes[0].style, box::kOkOnly | box::kInformation);
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
    h.accept(text(h.destination()), " Lunes ");
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_EQ(h.dialogs.boxes[0].text,
              "El nombre 'Lunes' se encuentra ya asignado a un archivo. ¿Desea sobreescribir el respaldo sobre este "
              "archivo?");
    EXPECT_EQ(h.dialogs.boxes[0].style, box::kYesNo | box::kQuestion);
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
                  text(h.program()) + kSeparator + "QVT Datos.mdb o QVT Datos.accdb' no se encontró");
    EXPECT_EQ(h.dialogs.boxes[0].style, box::kOkOnly | box::kCritical);
    EXPECT_FALSE(h.window.closed);
    EXPECT_TRUE(fs::is_empty(h.destination()));
}

// Found before the window is locked, so that the user can mend it there.
TEST_F(AcceptFlow, ALocationThatDoesNotExistOrIsNoFolderIsRefusedBeforeTheCopy) {
    const fs::path missing = h.destination() / "no existe";
    h.accept(text(missing) + kSeparator);
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_EQ(h.dialogs.boxes[0].text, "La ruta del respaldo no es válida:\r\n\r\n'" + text(missing / "Lunes.qvtdb") +
                                           "'\r\n\r\nLa carpeta '" + text(missing) +
                                           "' no existe. Elija una carpeta que exista, o créela antes.");
    EXPECT_EQ(h.dialogs.boxes[0].style, box::kOkOnly | box::kExclamation);
    EXPECT_EQ(h.window.focus, Control::Text1);

    const fs::path file = writeFile(h.destination() / "archivo", "no soy una carpeta");
    h.dialogs.boxes.clear();
    h.accept(text(file));
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_TRUE(h.dialogs.boxes[0].text.ends_with("'" + text(file) + "' no es una carpeta.")) << boxTexts()[0];
    EXPECT_TRUE(h.window.statuses.empty()) << "the copy had started";
    EXPECT_FALSE(h.window.closed);
    EXPECT_TRUE(h.window.allEnabled());
}

TEST_F(AcceptFlow, APathThatCannotBeFormedIsRefusedBeforeAnythingIsWritten) {
    struct Case {
        std::string location, name;
        Control field;
    };
    const std::vector<Case> cases = {
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
        // The path as it would be formed, from the location as typed.
        const std::string typed = bad.location.substr(0, bad.location.size() - 1);
        EXPECT_TRUE(h.dialogs.boxes[0].text.starts_with("La ruta del respaldo no es válida:\r\n\r\n'" + typed))
            << h.dialogs.boxes[0].text;
        EXPECT_EQ(h.dialogs.boxes[0].style, box::kOkOnly | box::kExclamation);
        EXPECT_EQ(h.window.focus, bad.field) << bad.name;
        EXPECT_TRUE(h.window.allEnabled());
        EXPECT_FALSE(h.window.closed);
    }
    EXPECT_TRUE(fs::is_empty(h.destination()));
}

TEST_F(AcceptFlow, APastedNameWithARefusedCharacterGetsTheNameFieldsWarning) {
    for (const char* pasted : {"Copia*?<>|\"", "a/b", "..", "Copia 1.5", "C:Lunes", "a\\b"}) {
        h.dialogs.boxes.clear();
        h.window.focus = Control::Check1;
        h.accept(location(), pasted);
        ASSERT_EQ(h.dialogs.boxes.size(), 1u) << pasted;
        EXPECT_EQ(h.dialogs.boxes[0].text, messages::kRefusedCharacter);
        EXPECT_EQ(h.dialogs.boxes[0].style, box::kOkOnly | box::kExclamation);
        EXPECT_EQ(h.window.focus, Control::Text2);
        EXPECT_TRUE(h.window.allEnabled());
    }
    EXPECT_TRUE(fs::is_empty(h.destination()));
}

TEST_F(AcceptFlow, AFolderUnderTheBackupFilesNameIsRefusedBeforeTheCopy) {
    fs::create_directory(backupFile());
    h.window.focus = Control::Check1;
    h.accept(location());
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_EQ(h.dialogs.boxes[0].text, "La ruta del respaldo no es válida:\r\n\r\n'" + location() +
                                           "Lunes.qvtdb'\r\n\r\nYa existe una carpeta con ese nombre.");
    EXPECT_EQ(h.window.focus, Control::Text2);
    EXPECT_TRUE(h.window.statuses.empty()) << "the copy had started";
    EXPECT_FALSE(h.window.closed);
}

// Backups go to sticks and shares that Windows reads, where a device's name
// saves nothing: refused on every platform, before anything is written.
TEST_F(AcceptFlow, ANameWindowsReservesIsRefusedBeforeAnythingIsWritten) {
    for (const char* reserved : {"CON", "nul", "COM1", "LPT9"}) {
        h.dialogs.boxes.clear();
        h.accept(location(), reserved);
        ASSERT_EQ(h.dialogs.boxes.size(), 1u) << reserved;
        EXPECT_NE(h.dialogs.boxes[0].text.find("Windows reserva ese nombre"), std::string::npos);
        EXPECT_EQ(h.dialogs.boxes[0].style, box::kOkOnly | box::kExclamation);
        EXPECT_EQ(h.window.focus, Control::Text2);
        EXPECT_FALSE(h.window.closed);
    }
    EXPECT_TRUE(fs::is_empty(h.destination()));
}

// Folders are told apart by what they are, not by how they are written: the
// data centre reached through another drive or mount is still the data centre.
TEST_F(AcceptFlow, TheDataCentreUnderAnotherNameIsRefused) {
    TempFolder scratch;
    const OtherName other(h.program(), scratch.path());
    if (other.path().empty()) GTEST_SKIP() << other.whyNot();
    std::vector<fs::path> insides = {other.path() / "QVT Datos", other.path() / "QVT Datos" / "Archivo",
                                     other.path() / "QVT Datos" / "nueva" / "otra"};
    for (const fs::path& inside : insides) {
        h.dialogs.boxes.clear();
        h.accept(text(inside) + kSeparator);
        ASSERT_EQ(h.dialogs.boxes.size(), 1u) << text(inside) << ": " << boxTexts().front();
        EXPECT_NE(h.dialogs.boxes[0].text.find("La ubicación está dentro de la carpeta de datos de Quvetra"),
                  std::string::npos)
            << h.dialogs.boxes[0].text;
        EXPECT_EQ(h.window.focus, Control::Text1);
    }
    EXPECT_FALSE(fs::exists(h.program() / "QVT Datos" / "Respaldo QVT"));
}

TEST_F(AcceptFlow, ALocationInsideQuvetrasDataCentreIsRefused) {
    const fs::path centre = h.program() / "QVT Datos";
    std::vector<fs::path> insides = {centre, centre / "Archivo", centre / "nueva"};
#ifndef _WIN32
    fs::create_directory_symlink(centre / "Archivo", h.destination() / "enlace");
    insides.push_back(h.destination() / "enlace");
#endif
    for (const fs::path& inside : insides) {
        h.dialogs.boxes.clear();
        h.accept(text(inside) + kSeparator);
        ASSERT_EQ(h.dialogs.boxes.size(), 1u) << inside;
        EXPECT_NE(h.dialogs.boxes[0].text.find("La ubicación está dentro de la carpeta de datos de Quvetra '" +
                                               text(centre) + "'"),
                  std::string::npos)
            << h.dialogs.boxes[0].text;
        EXPECT_EQ(h.window.focus, Control::Text1);
        EXPECT_FALSE(h.window.closed);
    }
    // Quvetra's program folder itself, and a folder beside the data centre, are fine.
    h.dialogs.boxes.clear();
    h.accept(text(h.program()) + kSeparator, "Lunes");
    EXPECT_EQ(boxTexts().back(), messages::kBackupSucceeded);
    fs::remove_all(h.program() / "Respaldo QVT");
    fs::remove(h.program() / "Lunes.qvtdb");
}

TEST_F(AcceptFlow, TheDatabaseGoneWhileAQuestionWasAnsweredFailsTheBackup) {
    QuvetraOpen quvetra(h.program(), "QVT Datos.mdb");
    h.dialogs.whileShown = [&](const ScriptedDialogs::Box&) {
        quvetra.close();
        fs::remove(h.program() / "QVT Datos.mdb");
    };
    h.accept(location());
    before = snapshot(h.program());
    ASSERT_EQ(h.dialogs.boxes.size(), 3u);  // the in-use question, the report, the failure
    EXPECT_TRUE(
        h.dialogs.boxes[1].text.starts_with("Número: 2\r\nDescripción: No se encontró la base de datos de "
                                            "Quvetra\r\n\r\nFuente: Copiar '" +
                                            text(h.program()) + kSeparator + "QVT Datos.mdb' o '"))
        << h.dialogs.boxes[1].text;
    EXPECT_EQ(h.dialogs.boxes[1].title, "Ha ocurrido un error");
    EXPECT_EQ(h.dialogs.boxes[2].text, messages::kBackupFailed);
    EXPECT_FALSE(fs::exists(backupFile()));
}

// Only "Sí" is yes. Escape and the close box answer Cancel under Wine, and a
// box that could not be shown answers 0: each leaves everything as it was.
TEST_F(AcceptFlow, OnlyYesMeansYesToEveryQuestion) {
    writeFile(backupFile(), "respaldo anterior");
    const auto earlier = snapshot(h.destination());
    constexpr int kCancel = 2, kNotShown = 0;
    for (const int answer : {box::kAnswerNo, kCancel, kNotShown}) {
        h.dialogs.boxes.clear();
        h.dialogs.answers = {answer};
        h.accept(location());
        ASSERT_EQ(h.dialogs.boxes.size(), 1u) << answer;
        EXPECT_TRUE(h.dialogs.boxes[0].text.starts_with("El nombre 'Lunes'")) << answer;

        QuvetraOpen quvetra(h.program(), "QVT Datos.mdb");
        h.dialogs.boxes.clear();
        h.dialogs.answers = {answer};
        h.accept(location());
        ASSERT_EQ(h.dialogs.boxes.size(), 1u) << answer;
        EXPECT_TRUE(h.dialogs.boxes[0].text.starts_with("Quvetra ")) << answer;
        quvetra.close();

        EXPECT_EQ(snapshot(h.destination()), earlier) << answer;
        EXPECT_FALSE(h.window.closed);
        EXPECT_TRUE(h.window.allEnabled());
    }
}

// Every refusal at once, mended one at a time: each box comes in its turn,
// with its own style and the application's title.
TEST_F(AcceptFlow, TheChecksComeInTheirOrderEachWithItsBox) {
    std::unique_ptr<QuvetraOpen> quvetra;
    fs::rename(h.program() / "QVT Datos.mdb", h.destination() / "aparte.mdb");
    writeFile(backupFile(), "respaldo anterior");
    struct Step {
        std::string location, name;
        std::function<void()> mend;
        int style;
        std::string textStart;
    };
    const std::vector<Step> steps = {
        {"  ", "  ", {}, box::kOkOnly | box::kInformation, "Hace falta suministrar la información de 'Ubicación'."},
        {location(), "  ", {}, box::kOkOnly | box::kInformation, "Hace falta suministrar la información de 'Nombre'."},
        {location(), "Lu:nes", {}, box::kOkOnly | box::kExclamation, "Un nombre de archivo, no puede contener"},
        {location(),
         "Lunes",
         {},
         box::kOkOnly | box::kCritical,
         "La operación que intenta realizar, no podrá ser realizada."},
        {"relativa/", "Lunes",
         [&] {
             fs::rename(h.destination() / "aparte.mdb", h.program() / "QVT Datos.mdb");
             quvetra = std::make_unique<QuvetraOpen>(h.program(), "QVT Datos.mdb");
         },
         box::kOkOnly | box::kExclamation, "La ruta del respaldo no es válida:"},
        {location(), "Lunes", {}, box::kYesNo | box::kQuestion | box::kDefaultButton2, "Quvetra "},
        {location(), "Lunes", [&] { quvetra->close(); }, box::kYesNo | box::kQuestion, "El nombre 'Lunes'"},
    };
    for (const Step& step : steps) {
        if (step.mend) step.mend();
        h.dialogs.boxes.clear();
        h.dialogs.answers = {box::kAnswerNo};
        h.accept(step.location, step.name);
        ASSERT_EQ(h.dialogs.boxes.size(), 1u) << step.textStart;
        EXPECT_TRUE(h.dialogs.boxes[0].text.starts_with(step.textStart)) << h.dialogs.boxes[0].text;
        EXPECT_EQ(h.dialogs.boxes[0].style, step.style) << step.textStart;
        EXPECT_EQ(h.dialogs.boxes[0].title, "") << step.textStart;
        EXPECT_TRUE(h.window.allEnabled());
    }
}

TEST_F(AcceptFlow, TheWindowIsLockedControlByControlBeforeTheCopy) {
    std::vector<std::string> atTheCopy;
    h.window.onProcessEvents = [&] {
        if (atTheCopy.empty()) atTheCopy = h.window.stateChanges;
    };
    h.accept(location());
    const std::vector<std::string> lock = {"Label1(0) off",  "Label1(1) off",  "Text1 off",
                                           "Text2 off",      "Check1 off",     "Toolbar1.1 off",
                                           "Toolbar1.3 off", "Toolbar2.1 off", "busy on"};
    EXPECT_EQ(atTheCopy, lock);
    std::vector<std::string> whole = lock;
    whole.push_back("busy off");
    // Nothing is enabled again: the window closes as it is.
    EXPECT_EQ(h.window.stateChanges, whole);
    EXPECT_TRUE(h.window.closed);
}

// A close request (Escape, the close box) during the copy asks whether to
// stop it; No, or a second request while the question is up, goes on.
TEST_F(AcceptFlow, ACloseRequestDuringTheCopyAsksAndNoGoesOn) {
    bool triedToClose = false;
    h.dialogs.answers = {box::kAnswerNo};
    h.dialogs.whileShown = [&](const ScriptedDialogs::Box&) {
        bool cancel = false;
        h.principal.unload(cancel);  // asked again while the question is up
        EXPECT_TRUE(cancel);
    };
    h.window.onProcessEvents = [&] {
        if (triedToClose) return;
        triedToClose = true;
        h.principal.keyPress(27);  // Escape
        EXPECT_FALSE(h.window.closed);
        // A second click cannot start another backup.
        h.principal.toolbar1ButtonClick("Aceptar");
    };
    h.accept(location());
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{messages::kStopQuestion, messages::kBackupSucceeded}));
    EXPECT_EQ(h.dialogs.boxes[0].style, box::kYesNo | box::kQuestion | box::kDefaultButton2);
    EXPECT_TRUE(h.window.closed);
    EXPECT_EQ(readFile(backupFile()), database);
}

// "Sí" stops the copy of the database: no backup file, an earlier one as it
// was, no temporary file, one box that says so, and the program ends.
TEST_F(AcceptFlow, StoppedInTheDatabaseCopyTheEarlierBackupStays) {
    writeFile(backupFile(), "viejo");
    h.dialogs.answers = {box::kAnswerYes, box::kAnswerYes};  // replace it; then stop
    h.window.onProcessEvents = [&] {
        if (h.dialogs.boxes.size() != 1) return;
        bool cancel = false;
        h.principal.unload(cancel);
    };
    h.accept(location());
    ASSERT_EQ(h.dialogs.boxes.size(), 3u);
    EXPECT_EQ(h.dialogs.boxes[1].text, messages::kStopQuestion);
    EXPECT_EQ(h.dialogs.boxes[2].text,
              "El respaldo se ha detenido.\r\n\r\nNo se ha creado el respaldo '" + text(backupFile()) +
                  "': el respaldo anterior con ese nombre sigue como estaba.\r\n\r\nNo ha quedado ningún archivo a "
                  "medio copiar. Para tener un respaldo completo, hágalo de nuevo.");
    EXPECT_EQ(h.dialogs.boxes[2].style, box::kOkOnly | box::kInformation);
    EXPECT_TRUE(h.window.closed);
    EXPECT_EQ(readFile(backupFile()), "viejo");
    EXPECT_TRUE(temporaryFiles(h.destination()).empty());
    EXPECT_FALSE(fs::exists(h.destination() / "Respaldo QVT"));
}

// Stopped among the documents: what was copied and verified stays whole,
// the rest is not begun, and the box counts what was kept. The end of the
// session takes the same way, without a question or a box.
TEST_F(AcceptFlow, StoppedAmongTheDocumentsWhatWasPlacedStays) {
    for (const bool session : {false, true}) {
        BackupHarness h;  // a program of its own each time: one backup ends it
        const std::string database = h.addDatabase(".mdb");
        h.addDataCentre();
        h.load();
        h.dialogs.answers = {box::kAnswerYes};
        int filesSeen = 0;
        h.window.onStatus = [&](const std::string& status) {
            if (status != messages::kArchivoStage) return;
            h.window.onProcessEvents = [&] {
                if (++filesSeen != 2) return;
                bool cancel = false;
                session ? h.principal.sessionEnding() : h.principal.unload(cancel);
            };
        };
        h.accept(text(h.destination()));

        const fs::path tree = h.destination() / "Respaldo QVT";
        const auto copied = snapshot(tree);
        const auto expected = h.expectedTree();
        std::size_t documents = 0;
        for (const auto& [name, content] : copied) {
            if (content == "<dir>") continue;
            ++documents;
            EXPECT_EQ(content, expected.at(name)) << name;
        }
        EXPECT_LT(documents, std::count_if(expected.begin(), expected.end(),
                                           [](const auto& file) { return file.second != "<dir>"; }));
        EXPECT_FALSE(fs::exists(tree / "Plantillas"));
        EXPECT_TRUE(temporaryFiles(h.destination()).empty());
        EXPECT_EQ(readFile(h.destination() / "Lunes.qvtdb"), database);
        EXPECT_TRUE(h.window.closed);
        if (session) {
            EXPECT_TRUE(h.dialogs.boxes.empty()) << h.dialogs.boxes[0].text;
            continue;
        }
        ASSERT_EQ(h.dialogs.boxes.size(), 2u);
        EXPECT_NE(h.dialogs.boxes[1].text.find("La base de datos se copió y se comprobó en '" +
                                               text(h.destination() / "Lunes.qvtdb") + "'. Del centro de datos, " +
                                               std::to_string(documents) + " documentos se copiaron y se comprobaron"),
                  std::string::npos)
            << h.dialogs.boxes[1].text;
    }
}

TEST_F(AcceptFlow, QuvetraWorkingOnItsDatabaseAsksBeforeCopying) {
    QuvetraOpen quvetra(h.program(), "QVT Datos.mdb");
    h.dialogs.answers = {box::kAnswerNo};
    h.accept(location());
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_NE(h.dialogs.boxes[0].text.find("'" + text(quvetra.namedInQuestion()) + "'"), std::string::npos)
        << h.dialogs.boxes[0].text;
    // Yes and No, question icon, No the default answer.
    EXPECT_EQ(h.dialogs.boxes[0].style, box::kYesNo | box::kQuestion | box::kDefaultButton2);
    EXPECT_TRUE(fs::is_empty(h.destination()));
    EXPECT_TRUE(h.window.allEnabled());
    EXPECT_FALSE(h.window.closed);

    h.dialogs.boxes.clear();
    h.accept(location());
    EXPECT_EQ(boxTexts().back(), messages::kBackupSucceeded);
    EXPECT_EQ(readFile(backupFile()), database);
}

TEST_F(AcceptFlow, OnlyTheCopiedDatabaseCounts) {
    // The ".mdb" is the one copied; the ".accdb" in use is not its concern.
    h.addDatabase(".accdb");
    before = snapshot(h.program());
    QuvetraOpen other(h.program(), "QVT Datos.accdb");
    h.accept(location());
    EXPECT_EQ(boxTexts(), std::vector<std::string>{messages::kBackupSucceeded});
}

TEST_F(AcceptFlow, AnAccdbInUseAsksToo) {
    fs::remove(h.program() / "QVT Datos.mdb");
    h.addDatabase(".accdb");
    before = snapshot(h.program());
    QuvetraOpen quvetra(h.program(), "QVT Datos.accdb");
    h.dialogs.answers = {box::kAnswerNo};
    h.accept(location());
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_NE(h.dialogs.boxes[0].text.find(text(quvetra.namedInQuestion().filename())), std::string::npos);
    EXPECT_TRUE(fs::is_empty(h.destination()));
}

TEST_F(AcceptFlow, CancelClosesAtOnceWithoutAnyCheck) {
    h.principal.toolbar1ButtonClick("Cancelar");
    EXPECT_TRUE(h.window.closed);
    EXPECT_TRUE(h.dialogs.boxes.empty());
}

}  // namespace
}  // namespace ruror::test
