#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "main_window/messages.h"
#include "tests/support/backup_harness.h"

namespace ruror::test {
namespace {

namespace fs = std::filesystem;

TEST(Load, PresetsTheNameWithTheDateOfTheClock) {
    BackupHarness h;
    h.load();
    EXPECT_EQ(h.window.texts[Control::Text2], "Respaldo (07-12-2026)");

    FakeWindow window;
    ScriptedDialogs dialogs;
    FixedClock march(Date{2027, 3, 1});
    Principal principal(window, dialogs, h.files, march);
    principal.load();
    EXPECT_EQ(window.texts[Control::Text2], "Respaldo (01-03-2027)");
}

TEST(Load, OffersTheDataCentreOnlyWhereItExists) {
    BackupHarness without;
    without.load();
    EXPECT_FALSE(without.window.visible[Control::Check1]);

    BackupHarness folder;
    fs::create_directory(folder.program() / "QVT Datos");
    folder.load();
    EXPECT_TRUE(folder.window.visible[Control::Check1]);

    // The look-up for folders also matches a plain file of that name.
    BackupHarness plainFile;
    writeFile(plainFile.program() / "QVT Datos", "");
    plainFile.load();
    EXPECT_TRUE(plainFile.window.visible[Control::Check1]);

#ifndef _WIN32
    BackupHarness fifo;
    ASSERT_EQ(mkfifo((fifo.program() / "QVT Datos").c_str(), 0600), 0);
    fifo.load();
    EXPECT_FALSE(fifo.window.visible[Control::Check1]);
#endif
}

TEST(Load, AHiddenButTickedOptionCopiesNoDataCentre) {
    BackupHarness h;
    const std::string database = h.addDatabase(".accdb");
    h.window.checked = true;
    h.load();
    ASSERT_FALSE(h.window.visible[Control::Check1]);
    h.accept(h.destination().string());
    EXPECT_EQ(h.window.statuses.front().first, "Proceso 1 de 1: Creando respaldo principal...");
    EXPECT_EQ(readFile(h.destination() / "Lunes.qvtdb"), database);
    EXPECT_EQ(snapshot(h.destination()).size(), 1u);
}

// Quvetra installed at the top of a drive: its paths start with a doubled
// separator, which the file system reads as one.
TEST(Load, AProgramFolderAtTheRootOfTheFileSystem) {
    FakeWindow window;
    ScriptedDialogs dialogs;
#ifdef _WIN32
    const std::string top = "C:\\";
#else
    const std::string top = "/";
#endif
    NativeFileSystem root(top);
    FixedClock clock(Date{2026, 12, 7});
    Principal principal(window, dialogs, root, clock);
    principal.load();
    EXPECT_FALSE(window.visible[Control::Check1]);
    window.setText(Control::Text1, text(std::filesystem::temp_directory_path()));
    window.setText(Control::Text2, "Lunes");
    principal.toolbar1ButtonClick("Aceptar");
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text,
              "La operación que intenta realizar, no podrá ser realizada.\r\n\r\nLa base de datos de Quvetra "
              "'" +
                  top + kSeparator + "QVT Datos.mdb o QVT Datos.accdb' no se encontró");
}

TEST(Keys, EnterMovesOnAndEscapeCloses) {
    BackupHarness h;
    EXPECT_FALSE(h.principal.keyPress(13)) << "Enter still reaches the field";
    EXPECT_EQ(h.window.tabsPosted, 1);
    EXPECT_FALSE(h.window.closed);
    EXPECT_FALSE(h.principal.keyPress('a'));
    EXPECT_EQ(h.window.tabsPosted, 1);
    EXPECT_FALSE(h.window.closed);
    EXPECT_TRUE(h.principal.keyPress(27));
    EXPECT_TRUE(h.window.closed);
}

// On a toolbar, Enter presses the marked button, as Space does, and the
// focus moves nowhere.
TEST(Keys, EnterOnAToolbarPressesItsMarkedButton) {
    BackupHarness h;
    h.window.marked = ToolbarButton{Toolbar::Toolbar2, 1};
    h.dialogs.folderAnswer = kSeparator + "copias";
    EXPECT_TRUE(h.principal.keyPress(13));
    EXPECT_EQ(h.dialogs.prompts.size(), 1u) << "the browse button was not pressed";
    EXPECT_EQ(h.window.texts[Control::Text1], kSeparator + "copias" + kSeparator);

    h.window.marked = ToolbarButton{Toolbar::Toolbar1, 1};  // "Aceptar", with both fields empty
    h.window.texts[Control::Text1] = "";
    EXPECT_TRUE(h.principal.keyPress(13));
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_EQ(h.dialogs.boxes[0].text, messages::kLocationEmpty);

    h.window.marked = ToolbarButton{Toolbar::Toolbar1, 3};  // "Cancelar"
    EXPECT_TRUE(h.principal.keyPress(13));
    EXPECT_TRUE(h.window.closed);
    EXPECT_EQ(h.window.tabsPosted, 0);
}

TEST(Keys, TheNameFieldRefusesTheCharactersAFileNameCannotHold) {
    BackupHarness h;
    // The character codes a file name cannot hold.
    for (const int refused : {34, 42, 46, 47, 58, 60, 62, 63, 92, 124}) {
        int key = refused;
        h.principal.text2KeyPress(key);
        EXPECT_EQ(key, 0) << refused;
    }
    ASSERT_EQ(h.dialogs.boxes.size(), 10u);
    EXPECT_EQ(h.dialogs.boxes[0].text,
              "Un nombre de archivo, no puede contener cualquiera de los siguientes caracteres: | < \\ / > : ? * '' ");
    EXPECT_EQ(h.dialogs.boxes[0].style, box::kOkOnly | box::kExclamation);
    EXPECT_EQ(h.dialogs.boxes[0].title, "");

    for (const int accepted : {int{'-'}, int{'('}, int{'a'}, int{' '}, 0xD1 /* Ñ */}) {
        int key = accepted;
        h.principal.text2KeyPress(key);
        EXPECT_EQ(key, accepted);
    }
    EXPECT_EQ(h.dialogs.boxes.size(), 10u);
}

TEST(Keys, BothFieldsSelectTheirWholeTextWhenTheFocusMovesThere) {
    BackupHarness h;
    h.load();
    h.principal.text2GotFocus(FocusArrival::Moved);
    EXPECT_EQ(h.window.selections[Control::Text2], std::make_pair(0, 21));
    h.window.texts[Control::Text1] = "/srv/año/";
    h.principal.text1GotFocus(FocusArrival::Moved);
    // Characters, not bytes: "ñ" is one character.
    EXPECT_EQ(h.window.selections[Control::Text1], std::make_pair(0, 9));
}

// Given back as a box closes, a field keeps its caret: the next letter typed
// goes where the user left off, not over the whole name.
TEST(Keys, AFieldTheFocusComesBackToKeepsItsCaret) {
    BackupHarness h;
    h.load();
    h.principal.text1GotFocus(FocusArrival::Returned);
    h.principal.text2GotFocus(FocusArrival::Returned);
    EXPECT_TRUE(h.window.selections.empty());
}

TEST(BrowseButton, WritesTheChosenFolderWithOneTrailingSeparator) {
    BackupHarness h;
    h.dialogs.folderAnswer = kSeparator + "srv" + kSeparator + "copias";
    h.principal.toolbar2ButtonClick();
    EXPECT_EQ(h.window.texts[Control::Text1], h.dialogs.folderAnswer + kSeparator);
    ASSERT_EQ(h.dialogs.prompts.size(), 1u);
    EXPECT_EQ(h.dialogs.prompts[0],
              "Respaldo de seguridad\r\n\r\nSeleccione la ubicación dónde desea guardar el respaldo de seguridad.");

    h.dialogs.folderAnswer = "";
    h.principal.toolbar2ButtonClick();
    EXPECT_EQ(h.window.texts[Control::Text1], "");
}

}  // namespace
}  // namespace ruror::test
