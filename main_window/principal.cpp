#include "main_window/principal.h"

#include <cstdio>
#include <filesystem>

#include "backup/data_centre_layout.h"
#include "backup/fun_copiar.h"
#include "backup/quvetra_database.h"
#include "core/path_text.h"
#include "core/text_utils.h"
#include "folder_picker/fun_buscar_carpeta.h"
#include "folder_picker/location_cleanup.h"
#include "main_window/backup_path_check.h"
#include "main_window/backup_progress.h"
#include "main_window/backup_report.h"
#include "main_window/control_table.h"
#include "main_window/destination_check.h"
#include "main_window/messages.h"
#include "main_window/refused_characters.h"
#include "main_window/room_check.h"
#include "main_window/tree_check.h"

namespace ruror {
namespace {

constexpr int kEnter = 13;
constexpr int kEscape = 27;

std::string presetBackupName(const Date& today) {
    char date[16];
    std::snprintf(date, sizeof date, "%02d-%02d-%04d", today.day, today.month, today.year);
    return std::string("Respaldo (") + date + ")";
}

}  // namespace

Principal::Principal(WindowOps& window, Dialogs& dialogs, FileSystem& files, const Clock& clock)
    : window_(window), dialogs_(dialogs), files_(files), clock_(clock) {}

void Principal::load() {
    window_.setText(Control::Text2, presetBackupName(clock_.today()));
    const auto dataCentre = joinedPath(files_.programFolder(), layout::kDataCentreFolder);
    window_.setVisible(Control::Check1, !files_.findFirst(dataCentre, attribute::kDirectory).empty());
}

void Principal::unload(bool& cancel) {
    // Closing under a running copy would pull the window from under it; the
    // copy stops first, if the user so answers, and the window closes after.
    if (!backupRunning_) return;
    cancel = true;
    if (!copying_ || askingToStop_ || stop_.asked()) return;
    askingToStop_ = true;
    const bool stop = askedYes(messages::kStopQuestion, box::kYesNo | box::kQuestion | box::kDefaultButton2);
    askingToStop_ = false;
    if (stop) stop_.ask(StopBy::User);
}

void Principal::sessionEnding() {
    if (copying_)
        stop_.ask(StopBy::Session);
    else
        window_.close();
}

// Enter moves on to the next control and still reaches the focused one;
// on a toolbar it presses the marked button instead, and moves nowhere.
bool Principal::keyPress(int keyAscii) {
    if (keyAscii == kEscape) {
        window_.close();
        return true;
    }
    if (keyAscii != kEnter) return false;
    if (const std::optional<ToolbarButton> marked = window_.markedButton()) {
        press(*marked);
        return true;
    }
    window_.postTabToFocusedControl();
    return false;
}

// A field the focus moves to selects its whole text, so that typing
// replaces it; one the focus comes back to keeps its caret and selection.
void Principal::text1GotFocus(FocusArrival arrival) {
    if (arrival == FocusArrival::Moved)
        window_.setSelection(Control::Text1, 0, characterCount(window_.text(Control::Text1)));
}

void Principal::text2GotFocus(FocusArrival arrival) {
    if (arrival == FocusArrival::Moved)
        window_.setSelection(Control::Text2, 0, characterCount(window_.text(Control::Text2)));
}

void Principal::press(const ToolbarButton& button) {
    if (button.toolbar == Toolbar::Toolbar2) {
        toolbar2ButtonClick();
        return;
    }
    for (const window_layout::ToolbarButtonRow& row : window_layout::kToolbarButtons) {
        if (std::string(row.toolbar) == "Toolbar1" && row.number == button.number && row.caption)
            toolbar1ButtonClick(row.caption);
    }
}

// The focus may already be there, as a box gave it back: the text is
// selected all the same.
void Principal::moveFocusTo(Control control) {
    window_.setFocus(control);
    if (control == Control::Text1) text1GotFocus(FocusArrival::Moved);
    if (control == Control::Text2) text2GotFocus(FocusArrival::Moved);
}

bool Principal::askedYes(const std::string& question, int style) {
    return dialogs_.messageBox(question, style) == box::kAnswerYes;
}

void Principal::text2KeyPress(int& keyAscii) {
    if (!isRefusedInName(keyAscii)) return;
    dialogs_.messageBox(messages::kRefusedCharacter, box::kOkOnly | box::kExclamation);
    keyAscii = 0;
}

void Principal::toolbar1ButtonClick(const std::string& caption) {
    if (backupRunning_) return;
    if (caption != "Aceptar") {
        window_.close();
        return;
    }
    acceptBackup();
}

void Principal::toolbar2ButtonClick() {
    const std::string chosen = FunBuscarCarpeta(dialogs_, kFolderPrompt);
    window_.setText(Control::Text1, chosen);
    if (!chosen.empty()) {
        const auto separator = static_cast<char>(std::filesystem::path::preferred_separator);
        window_.setText(Control::Text1, cleanedLocation(chosen, separator));
    }
}

void Principal::acceptBackup() {
    // Writers kept out of the database by the checks are let in again on
    // every way out, after the copy has been read back.
    struct LetWritersIn {
        FileSystem& files;
        ~LetWritersIn() { files.letWritersIn(); }
    } writersLetInAtTheEnd{files_};
    const Location location(window_.text(Control::Text1));
    const std::string name = trimmedSpaces(window_.text(Control::Text2));
    if (!fieldsFilled(location, name) || !databaseFound() || !pathAccepted(location, name) ||
        !roomEnough(location, name) || !confirmDatabaseNotInUse() || !confirmOverwrite(location, name)) {
        return;
    }
    lockWindow();
    backupRunning_ = true;
    // The copy is given the fields once, here, although it could read them
    // afresh at each step: the window stays locked from here until it
    // closes, so no field can change under the copy.
    const BackupRequest request{files_.programFolder(), location.folder(), name, dataCentreOption(), &stop_};
    BackupProgress progress(window_, request.dataCentre, bytesToWrite_);
    copying_ = true;
    const BackupResult result = FunCopiar(request, files_, progress);
    copying_ = false;
    window_.setProgress(0, 0);
    if (result.databaseCopied && !result.stopped) window_.setCaption(Control::Label3, messages::kStagesComplete);
    tellBackupResult(dialogs_, request, result, replacing_);
    window_.setBusyPointer(false);
    backupRunning_ = false;
    window_.close();
}

// The option counts where the window offers it and it is ticked: a hidden
// check box stays ticked underneath.
bool Principal::dataCentreOption() const {
    return window_.isVisible(Control::Check1) && window_.checkState(Control::Check1) == 1;
}

bool Principal::fieldsFilled(const Location& location, const std::string& name) {
    if (trimmedSpaces(location.typed()).empty()) {
        dialogs_.messageBox(messages::kLocationEmpty, box::kOkOnly | box::kInformation);
        moveFocusTo(Control::Text1);
        return false;
    }
    if (name.empty()) {
        dialogs_.messageBox(messages::kNameEmpty, box::kOkOnly | box::kInformation);
        moveFocusTo(Control::Text2);
        return false;
    }
    // Typing cannot put these characters into the name, but pasting can.
    if (holdsRefusedCharacter(name)) {
        dialogs_.messageBox(messages::kRefusedCharacter, box::kOkOnly | box::kExclamation);
        moveFocusTo(Control::Text2);
        return false;
    }
    return true;
}

bool Principal::databaseFound() {
    if (!quvetraDatabase(files_, files_.programFolder()).empty()) return true;
    // Formed as the message has always formed it: the program folder, a
    // separator and the names, even after a drive's root ("C:\\QVT Datos.mdb").
    const std::string databases = textFromPath(files_.programFolder()) +
                                  static_cast<char>(std::filesystem::path::preferred_separator) + layout::kDatabaseMdb +
                                  " o " + layout::kDatabaseAccdb;
    dialogs_.messageBox(
        std::string(messages::kNoDatabaseLead) + "La base de datos de Quvetra '" + databases + "' no se encontró",
        box::kOkOnly | box::kCritical);
    return false;
}

bool Principal::pathAccepted(const Location& location, const std::string& name) {
    auto bad = checkBackupPath(location, name);
    if (!bad) bad = checkDestination(files_, location, name);
    if (!bad && dataCentreOption()) bad = checkBackupTree(files_, location);
    if (!bad) return true;
    dialogs_.messageBox(badBackupPathMessage(*bad), box::kOkOnly | box::kExclamation);
    moveFocusTo(bad->field);
    return false;
}

// A copy taken while Quvetra writes can be torn. Where the system tells who
// writes a file (Windows), the database is kept from writers until the copy
// has been read back, and the question is asked only when Quvetra has it
// open for writing: a lock file beside a database nobody writes is a
// crash's leftover. Elsewhere the lock file Quvetra keeps beside its open
// database is the only sign, and a crash can leave it behind too, so the
// user decides. The safe answer is the default one.
bool Principal::confirmDatabaseNotInUse() {
    const auto database = quvetraDatabase(files_, files_.programFolder());
    std::string question;
    switch (files_.keepWritersOut(database)) {
        case WriterHold::Held: return true;
        case WriterHold::WrittenByAnother:
            question = std::string(messages::kDatabaseWrittenLead) + "'" + textFromPath(database) + "'" +
                       messages::kDatabaseWrittenQuestion;
            break;
        case WriterHold::Unknown: {
            const bool mdb = database.filename() == layout::kDatabaseMdb;
            const auto lockFile =
                joinedPath(files_.programFolder(), mdb ? layout::kLockFileMdb : layout::kLockFileAccdb);
            if (files_.findFirst(lockFile, attribute::kNormal).empty()) return true;
            question = std::string(messages::kDatabaseInUseLead) + "'" + textFromPath(lockFile) + "'" +
                       messages::kDatabaseInUseQuestion;
            break;
        }
    }
    return askedYes(question, box::kYesNo | box::kQuestion | box::kDefaultButton2);
}

bool Principal::roomEnough(const Location& location, const std::string& name) {
    const BackupRequest request{files_.programFolder(), location.folder(), name, dataCentreOption()};
    const std::optional<std::string> refusal = checkRoom(files_, request, bytesToWrite_);
    if (!refusal) return true;
    dialogs_.messageBox(*refusal, box::kOkOnly | box::kExclamation);
    moveFocusTo(Control::Text1);
    return false;
}

bool Principal::confirmOverwrite(const Location& location, const std::string& name) {
    replacing_ = !files_.findFirst(layout::backupFile(location.folder(), name), attribute::kArchive).empty();
    if (!replacing_) return true;
    const std::string question = "El nombre '" + name +
                                 "' se encuentra ya asignado a un archivo. ¿Desea sobreescribir el respaldo "
                                 "sobre este archivo?";
    return askedYes(question, box::kYesNo | box::kQuestion);
}

void Principal::lockWindow() {
    for (const Control control :
         {Control::Label1_0, Control::Label1_1, Control::Text1, Control::Text2, Control::Check1}) {
        window_.setEnabled(control, false);
    }
    window_.setButtonEnabled(Toolbar::Toolbar1, 1, false);
    window_.setButtonEnabled(Toolbar::Toolbar1, 3, false);
    window_.setButtonEnabled(Toolbar::Toolbar2, 1, false);
    window_.setBusyPointer(true);
}

}  // namespace ruror
