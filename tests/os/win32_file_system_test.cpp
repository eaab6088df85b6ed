// The Windows file system under the program, on real files with real
// attributes (run under Wine in the test command).

#include "os/win32/win32_file_system.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "backup/verified_copy.h"
#include "core/path_text.h"
#include "main_window/messages.h"
#include "os/win32/cloud_files.h"
#include "tests/support/backup_harness.h"

namespace ruror::test {
namespace {

namespace fs = std::filesystem;

void setAttributes(const fs::path& path, DWORD attributes) {
    ASSERT_TRUE(SetFileAttributesW(path.wstring().c_str(), attributes)) << path;
}

std::vector<std::string> listed(win32::Win32FileSystem& files, const fs::path& folder, int mask) {
    std::vector<std::string> names;
    for (fs::path name = files.findFirst(folder / "*.*", mask); !name.empty(); name = files.findNext())
        names.push_back(text(name));
    std::sort(names.begin(), names.end());
    return names;
}

TEST(Win32Listing, MasksSelectByTheRealAttributes) {
    TempFolder folder;
    for (const char* name :
         {"normal.pdf", "solo lectura.pdf", "archivo.pdf", "oculto.pdf", "sistema.pdf", "desktop.ini", "Thumbs.db"}) {
        writeFile(folder / name, name);
    }
    fs::create_directory(folder / "carpeta");
    fs::create_directory(folder / "carpeta oculta");
    setAttributes(folder / "solo lectura.pdf", FILE_ATTRIBUTE_READONLY);
    setAttributes(folder / "archivo.pdf", FILE_ATTRIBUTE_ARCHIVE);
    setAttributes(folder / "oculto.pdf", FILE_ATTRIBUTE_HIDDEN);
    setAttributes(folder / "sistema.pdf", FILE_ATTRIBUTE_SYSTEM);
    setAttributes(folder / "desktop.ini", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    setAttributes(folder / "Thumbs.db", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    setAttributes(folder / "carpeta oculta", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);

    win32::Win32FileSystem files(folder.path());
    const std::vector<std::string> plain = {"archivo.pdf", "normal.pdf", "solo lectura.pdf"};
    EXPECT_EQ(listed(files, folder.path(), 0), plain);
    EXPECT_EQ(listed(files, folder.path(), 32), plain);
    EXPECT_EQ(listed(files, folder.path(), 2),
              (std::vector<std::string>{"archivo.pdf", "normal.pdf", "oculto.pdf", "solo lectura.pdf"}));
    EXPECT_EQ(listed(files, folder.path(), 16),
              (std::vector<std::string>{"archivo.pdf", "carpeta", "normal.pdf", "solo lectura.pdf"}));
    EXPECT_EQ(listed(files, folder.path(), 2 | 4 | 16).size(), 9u);
    EXPECT_EQ(files.findFirst(folder / "oculto.pdf", 0), fs::path());
    EXPECT_EQ(files.findFirst(folder / "solo lectura.pdf", 0), fs::path("solo lectura.pdf"));
    EXPECT_EQ(files.findFirst(folder / "carpeta", 16), fs::path("carpeta"));
    EXPECT_EQ(files.findFirst(folder / "carpeta oculta", 16), fs::path());
    for (const auto& entry : fs::directory_iterator(folder.path())) setAttributes(entry.path(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Win32Folders, AnExistingFolderIsKeptAndAFileInTheWayIsAFailure) {
    TempFolder folder;
    win32::Win32FileSystem files(folder.path());
    EXPECT_FALSE(files.createFolder(folder / "Respaldo QVT", folder.path()));
    const Outcome again = files.createFolder(folder / "Respaldo QVT", folder.path());
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->destinationExisted);
    writeFile(folder / "Archivo", "no soy una carpeta");
    const Outcome inTheWay = files.createFolder(folder / "Archivo", folder.path());
    ASSERT_TRUE(inTheWay);
    EXPECT_FALSE(inTheWay->destinationExisted);
    EXPECT_EQ(inTheWay->description, "Ya existe un archivo con ese nombre");
}

TEST(Win32Copy, AReadOnlyBackupFileIsAFailureAndStaysAsItWas) {
    TempFolder folder;
    win32::Win32FileSystem files(folder.path());
    writeFile(folder / "base.mdb", "base nueva");
    writeFile(folder / "Lunes.qvtdb", "respaldo anterior");
    setAttributes(folder / "Lunes.qvtdb", FILE_ATTRIBUTE_READONLY);
    const Outcome failed = copyVerified(files, folder / "base.mdb", folder / "Lunes.qvtdb", true, {});
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->number, ERROR_ACCESS_DENIED);
    EXPECT_EQ(failed->description, "Acceso denegado");
    setAttributes(folder / "Lunes.qvtdb", FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(readFile(folder / "Lunes.qvtdb"), "respaldo anterior");
    EXPECT_EQ(snapshot(folder.path()).size(), 2u) << "a temporary file was left";
}

// A hidden or system file under the backup's name is one the look-up of
// "Aceptar" does not see, so no question would be asked: it is refused, as
// Windows' own copy refuses it, before anything is written.
TEST(Win32Copy, AHiddenOrSystemBackupFileIsNeverReplaced) {
    for (const DWORD attributes : {DWORD{FILE_ATTRIBUTE_HIDDEN}, DWORD{FILE_ATTRIBUTE_SYSTEM}}) {
        BackupHarness h;
        h.addDatabase(".mdb");
        h.load();
        const fs::path earlier = writeFile(h.destination() / "Lunes.qvtdb", "respaldo anterior");
        setAttributes(earlier, attributes);
        h.accept(text(h.destination()) + kSeparator);
        ASSERT_EQ(h.dialogs.boxes.size(), 1u) << attributes;
        EXPECT_NE(h.dialogs.boxes[0].text.find("oculto o de sistema"), std::string::npos) << h.dialogs.boxes[0].text;
        EXPECT_EQ(h.window.focus, Control::Text2);
        EXPECT_FALSE(h.window.closed);

        // The copier itself refuses it too.
        const Outcome refused = copyVerified(h.files, h.program() / "QVT Datos.mdb", earlier, true, {});
        ASSERT_TRUE(refused);
        EXPECT_EQ(refused->number, ERROR_ACCESS_DENIED);
        setAttributes(earlier, FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(readFile(earlier), "respaldo anterior");
        EXPECT_EQ(snapshot(h.destination()).size(), 1u) << "a temporary file was left";
    }
}

TEST(Win32Copy, AFileQuvetraHoldsOpenIsReadAndLeftAsItWas) {
    TempFolder folder;
    win32::Win32FileSystem files(folder.path());
    writeFile(folder / "QVT Datos.mdb", "base en uso");
    // Quvetra's own way of opening its database: for writing, sharing reads and writes.
    HANDLE held = CreateFileW((folder / "QVT Datos.mdb").wstring().c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(copyVerified(files, folder / "QVT Datos.mdb", folder / "Lunes.qvtdb", true, {}));
    CloseHandle(held);
    EXPECT_EQ(readFile(folder / "Lunes.qvtdb"), "base en uso");
}

// Windows tells who writes a file: the database is copied while no other
// program can write into it, and the question is asked when Quvetra has it
// open for writing, lock file or none.
TEST(Win32InUse, ALockFileNobodyHoldsAsksNothingAndWritersWaitForTheCopy) {
    BackupHarness h;
    const std::string database = h.addDatabase(".mdb", 4 << 20);
    writeFile(h.program() / "QVT Datos.ldb", "");  // left by a crash
    h.load();
    DWORD writerRefused = 0;
    h.window.onProcessEvents = [&] {
        if (writerRefused != 0) return;
        HANDLE writer = CreateFileW((h.program() / "QVT Datos.mdb").wstring().c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        writerRefused = writer == INVALID_HANDLE_VALUE ? GetLastError() : 1;
        if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
    };
    h.accept(text(h.destination()) + kSeparator);
    EXPECT_EQ(h.dialogs.boxes.size(), 1u) << "no question: " << h.dialogs.boxes.front().text;
    EXPECT_EQ(h.dialogs.boxes.back().text, messages::kBackupSucceeded);
    EXPECT_EQ(writerRefused, static_cast<DWORD>(ERROR_SHARING_VIOLATION)) << "a writer got in during the copy";
    EXPECT_EQ(readFile(h.destination() / "Lunes.qvtdb"), database);
    HANDLE writer = CreateFileW((h.program() / "QVT Datos.mdb").wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(writer, INVALID_HANDLE_VALUE) << "the database is let go after the backup";
    CloseHandle(writer);
}

TEST(Win32InUse, ADatabaseHeldForWritingAsksWithoutALockFile) {
    BackupHarness h;
    const std::string database = h.addDatabase(".mdb");
    h.load();
    HANDLE engine = CreateFileW((h.program() / "QVT Datos.mdb").wstring().c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(engine, INVALID_HANDLE_VALUE);
    h.dialogs.answers = {box::kAnswerNo};
    h.accept(text(h.destination()) + kSeparator);
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_TRUE(h.dialogs.boxes[0].text.starts_with("Quvetra está abierto")) << h.dialogs.boxes[0].text;
    EXPECT_EQ(h.dialogs.boxes[0].style, box::kYesNo | box::kQuestion | box::kDefaultButton2);
    EXPECT_TRUE(fs::is_empty(h.destination()));

    h.dialogs.boxes.clear();
    h.accept(text(h.destination()) + kSeparator);  // "Sí": copied shared, as before
    EXPECT_EQ(h.dialogs.boxes.back().text, messages::kBackupSucceeded);
    EXPECT_EQ(readFile(h.destination() / "Lunes.qvtdb"), database);
    CloseHandle(engine);
}

// A virus scanner or a sync client holds the earlier backup for a moment,
// without sharing it: replacing it waits, with the window answering, and
// succeeds once it is let go. Held for longer than the waits, the copy
// fails as it always did, the earlier backup intact and nothing left.
TEST(Win32HeldFiles, AnEarlierBackupHeldForAMomentIsReplacedOnceLetGo) {
    TempFolder folder;
    win32::Win32FileSystem files(folder.path());
    const std::string database = randomBytes(1 << 20, 3);
    writeFile(folder / "QVT Datos.mdb", database);
    writeFile(folder / "Lunes.qvtdb", "respaldo anterior");
    HANDLE scanner =
        CreateFileW((folder / "Lunes.qvtdb").wstring().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(scanner, INVALID_HANDLE_VALUE);
    std::thread letGo([scanner] {
        Sleep(1500);
        CloseHandle(scanner);
    });
    int answered = 0;
    const Outcome failure = copyVerified(files, folder / "QVT Datos.mdb", folder / "Lunes.qvtdb", true,
                                         [&](std::uint64_t, std::uint64_t) { ++answered; });
    letGo.join();
    EXPECT_FALSE(failure) << failure->description;
    EXPECT_EQ(readFile(folder / "Lunes.qvtdb"), database);
    EXPECT_GT(answered, 20) << "the window answered while the copy waited";
}

TEST(Win32HeldFiles, HeldForLongerItFailsAsBeforeAndLeavesNothing) {
    TempFolder folder;
    win32::Win32FileSystem files(folder.path());
    writeFile(folder / "QVT Datos.mdb", randomBytes(1 << 20, 3));
    writeFile(folder / "Lunes.qvtdb", "respaldo anterior");
    HANDLE scanner =
        CreateFileW((folder / "Lunes.qvtdb").wstring().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(scanner, INVALID_HANDLE_VALUE);
    const Outcome failure = copyVerified(files, folder / "QVT Datos.mdb", folder / "Lunes.qvtdb", true, {});
    CloseHandle(scanner);
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->number == ERROR_ACCESS_DENIED || failure->number == ERROR_SHARING_VIOLATION)
        << failure->number;
    EXPECT_EQ(readFile(folder / "Lunes.qvtdb"), "respaldo anterior");
    EXPECT_EQ(snapshot(folder.path()).size(), 2u) << "a temporary file was left";
}

// Wine keeps no more of a file's attributes than hidden and system, so a
// document kept only in the cloud is told by the attributes Windows gives it.
TEST(Win32CloudFiles, ADocumentOnlyInTheCloudIsToldByItsAttributes) {
    constexpr DWORD kRecallOnDataAccess = 0x00400000, kRecallOnOpen = 0x00040000;
    for (const DWORD cloud : {FILE_ATTRIBUTE_ARCHIVE | kRecallOnDataAccess, DWORD{FILE_ATTRIBUTE_OFFLINE},
                              FILE_ATTRIBUTE_READONLY | kRecallOnOpen}) {
        EXPECT_TRUE(win32::isOnlyInTheCloud(cloud)) << cloud;
    }
    for (const DWORD local : {DWORD{FILE_ATTRIBUTE_ARCHIVE}, DWORD{FILE_ATTRIBUTE_NORMAL},
                              DWORD{FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE}}) {
        EXPECT_FALSE(win32::isOnlyInTheCloud(local)) << local;
    }
}

TEST(Win32TemporaryFiles, OnlyThoseNoRunningCopyHoldsAreRemoved) {
    TempFolder folder;
    win32::Win32FileSystem files(folder.path());
    writeFile(folder / ".ruror-abandonado.tmp", "de un respaldo interrumpido");
    const fs::path held = folder / ".ruror-en-curso.tmp";
    writeFile(held, "de un respaldo en curso");
    // A running copy holds its file as the copier does: no sharing of exclusive opens.
    HANDLE writing = CreateFileW(held.wstring().c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writing, INVALID_HANDLE_VALUE);
    files.removeAbandonedTemporaryFiles(folder.path());
    EXPECT_FALSE(fs::exists(folder / ".ruror-abandonado.tmp"));
    EXPECT_TRUE(fs::exists(held));
    CloseHandle(writing);
}

TEST(Win32Paths, TheProgramFolderAndDriveRootsAsTheProgramFormsThem) {
    const fs::path programFolder = win32::Win32FileSystem().programFolder();
    EXPECT_TRUE(fs::exists(programFolder / "ruror_tests.exe")) << text(programFolder);
    // A program folder at a drive root keeps its separator, and the doubled
    // one of the formed path is read as one.
    win32::Win32FileSystem atRoot("C:\\");
    EXPECT_EQ(text(atRoot.programFolder()), "C:\\");
    EXPECT_EQ(atRoot.findFirst(joinedPath(atRoot.programFolder(), L"windows"), 16), fs::path("windows"));
}

TEST(Win32Paths, ALongPathIsCreatedAndCopiedInto) {
    TempFolder folder;
    win32::Win32FileSystem files(folder.path());
    fs::path deep = folder.path();
    for (int i = 0; i < 6; ++i) {
        deep = joinedPath(deep, pathFromText(std::string(50, static_cast<char>('a' + i))));
        ASSERT_FALSE(files.createFolder(deep, folder.path())) << text(deep);
    }
    ASSERT_GT(deep.wstring().size(), 300u);
    writeFile(folder / "base.mdb", "base");
    EXPECT_FALSE(copyVerified(files, folder / "base.mdb", joinedPath(deep, L"Lunes.qvtdb"), true, {}));
    EXPECT_EQ(files.findFirst(joinedPath(deep, L"Lunes.qvtdb"), 32), fs::path("Lunes.qvtdb"));
}

TEST(Win32Paths, ARelativeLocationIsRefusedBeforeAnythingIsWritten) {
    BackupHarness h;
    h.addDatabase(".mdb");
    h.load();
    for (const char* relative : {"C:Copias", "\\Copias"}) {
        h.dialogs.boxes.clear();
        h.accept(relative, "Lunes");
        ASSERT_EQ(h.dialogs.boxes.size(), 1u) << relative;
        EXPECT_NE(h.dialogs.boxes[0].text.find("ruta completa"), std::string::npos) << h.dialogs.boxes[0].text;
        EXPECT_EQ(h.window.focus, Control::Text1);
    }
    EXPECT_TRUE(fs::is_empty(h.destination()));
}

// Windows names the folder "E:\Copias" for all of these; so does every check
// and the copy.
TEST(Win32Locations, ALocationIsNamedAsWindowsNamesIt) {
    BackupHarness h;
    const std::string database = h.addDatabase(".mdb");
    h.load();
    const std::string copias = text(h.destination());
    for (const std::string& typed : {copias + "\\otra\\..\\", copias + " ", copias + ".", copias + ". \\.\\"}) {
        h.dialogs.boxes.clear();
        writeFile(h.destination() / "Lunes.qvtdb", "respaldo anterior");
        h.window.closed = false;
        h.accept(typed);
        ASSERT_EQ(h.dialogs.boxes.size(), 2u) << typed;
        EXPECT_TRUE(h.dialogs.boxes[0].text.starts_with("El nombre 'Lunes' se encuentra ya asignado"))
            << "the earlier backup is found: " << h.dialogs.boxes[0].text;
        EXPECT_EQ(h.dialogs.boxes[1].text, messages::kBackupSucceeded) << typed << ": " << h.dialogs.boxes[1].text;
        EXPECT_EQ(readFile(h.destination() / "Lunes.qvtdb"), database) << typed;
    }
}

TEST(Win32Locations, ALocationThatCannotBeAPathGetsTheBadPathBox) {
    BackupHarness h;
    h.addDatabase(".mdb");
    h.load();
    for (const char* bad : {"*", "?", "<", ">", "|", "\"", ":"}) {
        h.dialogs.boxes.clear();
        h.accept(text(h.destination()) + "\\Cop" + bad + "ias");
        ASSERT_EQ(h.dialogs.boxes.size(), 1u) << bad;
        EXPECT_TRUE(h.dialogs.boxes[0].text.starts_with("La ruta del respaldo no es válida"))
            << h.dialogs.boxes[0].text;
        EXPECT_EQ(h.window.focus, Control::Text1);
        EXPECT_FALSE(h.window.closed);
    }
    EXPECT_TRUE(fs::is_empty(h.destination()));
}

TEST(Win32Backup, AWholeBackupThroughTheHandlers) {
    BackupHarness h;
    const std::string database = h.addDatabase(".mdb");
    h.addDataCentre();
    h.load();
    h.accept(text(h.destination()) + kSeparator);
    ASSERT_FALSE(h.dialogs.boxes.empty());
    EXPECT_EQ(h.dialogs.boxes.back().text, messages::kBackupSucceeded) << h.dialogs.boxes.front().text;
    EXPECT_EQ(readFile(h.destination() / "Lunes.qvtdb"), database);
    EXPECT_EQ(snapshot(h.destination() / "Respaldo QVT"), h.expectedTree());
}

// A run killed in the middle of a copy, as a power cut or the task manager
// would: a program of the tests' own copies slowly, and is killed once some
// of the copy is written.
TEST(Win32Kill, ARunKilledMidCopyLeavesTheEarlierBackupAndTheNextRunRemovesItsFile) {
    TempFolder folder;
    writeFile(folder / "QVT Datos.mdb", randomBytes(16 << 20, 4));
    writeFile(folder / "Lunes.qvtdb", "respaldo anterior");
    wchar_t tests[1024];
    GetModuleFileNameW(nullptr, tests, 1024);
    std::wstring command = L"\"" + (fs::path(tests).parent_path() / L"slow_copy.exe").wstring() + L"\" \"" +
                           (folder / "QVT Datos.mdb").wstring() + L"\" \"" + (folder / "Lunes.qvtdb").wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child));
    auto temporaryFiles = [&] {
        std::vector<fs::path> found;
        for (const auto& entry : fs::directory_iterator(folder.path()))
            if (entry.path().filename().string().starts_with(".ruror-")) found.push_back(entry.path());
        return found;
    };
    auto written = [&] {
        const std::vector<fs::path> files = temporaryFiles();
        return !files.empty() && fs::file_size(files.front()) > 0;
    };
    for (int i = 0; i < 200 && !written(); ++i) Sleep(50);
    EXPECT_TRUE(written()) << "the copy never began";
    TerminateProcess(child.hProcess, 9);
    WaitForSingleObject(child.hProcess, INFINITE);
    CloseHandle(child.hProcess);
    CloseHandle(child.hThread);

    EXPECT_EQ(readFile(folder / "Lunes.qvtdb"), "respaldo anterior");
    EXPECT_EQ(temporaryFiles().size(), 1u) << "the killed copy's file should be there, hidden";
    win32::Win32FileSystem files(folder.path());
    files.removeAbandonedTemporaryFiles(folder.path());
    EXPECT_TRUE(temporaryFiles().empty());
}

TEST(Win32Faults, ADestinationRemovedAfterTheChecksIsReported) {
    BackupHarness h;
    h.addDatabase(".mdb");
    h.load();
    const fs::path destination = h.destination() / "usb";
    fs::create_directory(destination);
    h.window.onBusyPointer = [&](bool busy) {
        if (busy) fs::remove_all(destination);
    };
    h.accept(text(destination) + kSeparator);
    ASSERT_EQ(h.dialogs.boxes.size(), 2u);
    EXPECT_TRUE(h.dialogs.boxes[0].text.starts_with("Número: 3\r\nDescripción: No se encuentra la ruta\r\n"))
        << h.dialogs.boxes[0].text;
    EXPECT_EQ(h.dialogs.boxes[1].text, messages::kBackupFailed);
    EXPECT_FALSE(fs::exists(destination));
}

TEST(Win32Faults, TwoBackupsIntoOneDestinationAtOnce) {
    BackupHarness first, second;
    const std::string database = first.addDatabase(".mdb", 4 << 20);
    first.addDataCentre();
    second.addDatabase(".mdb", 4 << 20, 2);
    second.addDataCentre();
    first.load();
    second.load();
    const std::string shared = text(first.destination()) + kSeparator;
    std::thread other([&] { second.accept(shared, "Martes"); });
    first.accept(shared, "Lunes");
    other.join();
    EXPECT_EQ(first.dialogs.boxes.back().text, messages::kBackupSucceeded);
    EXPECT_EQ(second.dialogs.boxes.back().text, messages::kBackupSucceeded);
    EXPECT_EQ(readFile(first.destination() / "Lunes.qvtdb"), database);
    EXPECT_EQ(snapshot(first.destination() / "Respaldo QVT"), first.expectedTree());
}

// A small disk, mapped as a drive by the test command where it may mount one.
TEST(Win32Faults, ASmallDriveRefusesWhatCannotFitAndFillingUpLeavesNothing) {
    wchar_t letter[64];
    if (GetEnvironmentVariableW(L"RUROR_SMALL_DRIVE", letter, 64) == 0)
        GTEST_SKIP() << "needs the small drive the test command maps where it runs as root";
    const fs::path drive(letter);
    BackupHarness h;
    h.addDatabase(".mdb", 2 << 20);
    h.load();
    // Too large for the drive: told before anything is written.
    h.accept(text(drive), "Lunes");
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_TRUE(h.dialogs.boxes[0].text.starts_with("No hay espacio suficiente en la unidad de destino de '" +
                                                    text(drive) + "'.\r\n\r\nEl respaldo necesita 2,0 MB"))
        << h.dialogs.boxes[0].text;
    EXPECT_FALSE(h.window.closed);

    // Another program fills the drive after the checks: the copy fails, and
    // nothing of it is left, hidden and system entries looked for too.
    writeFile(h.program() / "QVT Datos.mdb", randomBytes(600 << 10, 6));
    fs::path filler;
    h.window.onBusyPointer = [&](bool busy) {
        if (busy) filler = fillDriveLeaving(drive, 300 << 10);
    };
    h.dialogs.boxes.clear();
    h.accept(text(drive), "Lunes");
    ASSERT_EQ(h.dialogs.boxes.size(), 2u);
    EXPECT_TRUE(h.dialogs.boxes[0].text.starts_with("Número: 112\r\nDescripción: No queda espacio en el disco\r\n"))
        << h.dialogs.boxes[0].text;
    EXPECT_EQ(h.dialogs.boxes[1].text, messages::kBackupFailed);
    fs::remove(filler);
    EXPECT_EQ(h.files.findFirst(drive / "*.*", 2 | 4 | 16), fs::path()) << "a file was left";

    // A drive with room for one copy cannot replace it: both stand on it
    // until the new one has been read back, and the refusal says so.
    writeFile(drive / "Lunes.qvtdb", randomBytes(600 << 10, 5));
    h.window.onBusyPointer = nullptr;
    h.dialogs.boxes.clear();
    h.accept(text(drive), "Lunes");
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    EXPECT_NE(h.dialogs.boxes[0].text.find("la unidad necesita espacio para los dos"), std::string::npos)
        << h.dialogs.boxes[0].text;
    EXPECT_EQ(readFile(drive / "Lunes.qvtdb"), randomBytes(600 << 10, 5));
    fs::remove(drive / "Lunes.qvtdb");
}

}  // namespace
}  // namespace ruror::test
