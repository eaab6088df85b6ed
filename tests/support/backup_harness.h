#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "main_window/principal.h"
#include "tests/support/fake_window.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/native_file_system.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_folder.h"

namespace ruror::test {

// A Quvetra program folder and an empty destination in temporary folders,
// with the window's handlers wired to a recording window, scripted dialogs,
// the real file system and a clock fixed on 7 December 2026.
class BackupHarness {
public:
    BackupHarness();

    std::filesystem::path program() const { return root_ / "Quvetra"; }
    std::filesystem::path destination() const { return root_ / "Copias"; }

    // "QVT Datos.mdb" or "QVT Datos.accdb" with random content; returns it.
    std::string addDatabase(const std::string& extension, std::size_t size = 300'000, unsigned variant = 1);
    // "QVT Datos" with files at its top level and in its three sub-folders,
    // and a hidden one, which is not copied.
    void addDataCentre();
    // Folders the backup leaves out: a fourth sub-folder of "QVT Datos" with
    // a folder inside, a folder inside "Archivo", and an empty one.
    void addFoldersLeftOut();
    // The files a backup of addDataCentre() must hold, by path in the tree.
    std::map<std::string, std::string> expectedTree() const;

    // Loads the window, as the program does at start.
    void load();
    // Fills the fields as a user would and presses "Aceptar".
    void accept(const std::string& location, const std::string& name = "Lunes");

private:
    // First, as the file system below is made on it.
    TempFolder root_;

public:
    FakeWindow window;
    ScriptedDialogs dialogs;
    NativeFileSystem files;
    FixedClock clock;
    Principal principal;

private:
    std::map<std::string, std::string> dataCentre_;
};

}  // namespace ruror::test
