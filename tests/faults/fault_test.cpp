// Real faults, produced for real: full disks, refused permissions, files
// that change under the copy, concurrent runs and killed processes. Each test
// checks what the user was told and what was left on disk.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <random>
#include <thread>

#include "backup/verified_copy.h"
#include "main_window/messages.h"
#include "tests/support/backup_harness.h"
#include "tests/support/child_process.h"
#include "tests/support/fat_drive.h"
#include "tests/support/faulty_drive.h"
#include "tests/support/small_disk.h"

namespace ruror::test {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

const std::string kBoxSeparator = "\n=====\n";

// Accepts a backup as the user would and sends back the texts of every box shown.
std::string acceptAndTell(BackupHarness& h, const std::string& location, const std::string& name) {
    h.accept(location, name);
    std::string told;
    for (const auto& shown : h.dialogs.boxes) told += shown.text + kBoxSeparator;
    return told;
}

std::vector<std::string> boxesOf(const std::string& told) {
    std::vector<std::string> boxes;
    for (std::size_t start = 0, end; (end = told.find(kBoxSeparator, start)) != std::string::npos;
         start = end + kBoxSeparator.size()) {
        boxes.push_back(told.substr(start, end - start));
    }
    return boxes;
}

// Every file of the backup tree is a whole copy of its source.
void expectWholeTree(const fs::path& tree, const fs::path& dataCentre) {
    for (const auto& entry : fs::recursive_directory_iterator(tree)) {
        if (!entry.is_regular_file()) continue;
        const fs::path source = dataCentre / fs::relative(entry.path(), tree);
        EXPECT_TRUE(readFile(entry.path()) == readFile(source)) << entry.path();
    }
}

// Lets the unprivileged user read Quvetra's folder and write the destination.
void openToEveryone(const fs::path& root) {
    fs::permissions(root, fs::perms::all);
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_symlink()) continue;
        fs::permissions(entry.path(), entry.is_directory()
                                          ? fs::perms::all
                                          : fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
    }
}

// A destination that fills up: a small tmpfs where the tests may mount one,
// otherwise the test folder with a limit on the size of the files written.
struct FillingDestination {
    FillingDestination(const fs::path& fallback, std::uint64_t diskBytes, std::uint64_t fileLimit)
        : disk(SmallDisk::mount(diskBytes)), path(disk ? disk->path() : fallback) {
        if (!disk) options.fileSizeLimit = fileLimit;
    }
    // The first lines of the failure report, whichever way the disk filled up.
    std::string reportStart() const {
        return disk ? "Número: 28\r\nDescripción: No queda espacio en el dispositivo\r\n"
                    : "Número: 27\r\nDescripción: Archivo demasiado grande\r\n";
    }

    std::unique_ptr<SmallDisk> disk;
    fs::path path;
    ChildOptions options;
};

class Faults : public ::testing::Test {
protected:
    void TearDown() override {
        if (!quvetra.empty()) {
            EXPECT_EQ(snapshot(h.program()), quvetra) << "Quvetra's files changed";
        }
    }
    // Quvetra's files as they are now, to be found unchanged at the end.
    void rememberQuvetra() { quvetra = snapshot(h.program()); }

    BackupHarness h;
    std::map<std::string, std::string> quvetra;
};

// A backup the drive has no room for is refused before anything is written,
// the window left open, saying how much it needs and how much is free.
TEST_F(Faults, ABackupTheDriveHasNoRoomForIsRefusedBeforeAnythingIsWritten) {
    auto disk = SmallDisk::mount(1 << 20);
    if (!disk) GTEST_SKIP() << "needs root to mount a small tmpfs";
    h.addDatabase(".mdb", 600 << 10);
    h.addDataCentre();                                                                 // and 70 KB more of documents
    writeFile(disk->path() / "Respaldo QVT/Archivo/contrato 2026.pdf", "ya copiado");  // kept: no room needed
    h.load();
    rememberQuvetra();
    fillDriveLeaving(disk->path(), 400 << 10);
    const auto before = snapshot(disk->path());
    h.window.focus = Control::Text2;
    h.accept(disk->path().string() + "/");
    ASSERT_EQ(h.dialogs.boxes.size(), 1u);
    const std::string& refusal = h.dialogs.boxes[0].text;
    EXPECT_TRUE(refusal.starts_with("No hay espacio suficiente en la unidad de destino de '" + disk->path().string() +
                                    "'.\r\n\r\nEl respaldo necesita 601 KB y en la unidad quedan libres "))
        << refusal;
    EXPECT_NE(refusal.find("No se ha escrito nada."), std::string::npos) << refusal;
    EXPECT_EQ(h.window.focus, Control::Text1);
    EXPECT_FALSE(h.window.closed);
    EXPECT_TRUE(h.window.allEnabled());
    EXPECT_EQ(snapshot(disk->path()), before);
}

// Another program fills the drive after the checks: the copy fails, and
// nothing of it is left.
TEST_F(Faults, TheDiskFillsUpDuringTheDatabaseCopy) {
    const std::string database = h.addDatabase(".mdb", 2 << 20);
    h.load();
    rememberQuvetra();
    const FillingDestination destination(h.destination(), 3 << 20, 1 << 20);
    if (destination.disk) {
        h.window.onBusyPointer = [&](bool busy) {
            if (busy) fillDriveLeaving(destination.path, 1 << 20);
        };
    }
    const auto boxes = boxesOf(
        inChild([&] { return acceptAndTell(h, destination.path.string() + "/", "Lunes"); }, destination.options));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(boxes[0].starts_with(destination.reportStart())) << boxes[0];
    EXPECT_EQ(boxes[1], messages::kBackupFailed);
    EXPECT_FALSE(fs::exists(destination.path / "Lunes.qvtdb"));
    EXPECT_TRUE(temporaryFiles(destination.path).empty()) << "a temporary file was left";
}

TEST_F(Faults, TheDiskFillsUpOverAnEarlierBackupWhichStaysWhole) {
    h.addDatabase(".mdb", 2 << 20, 1);
    h.load();
    rememberQuvetra();
    const FillingDestination destination(h.destination(), 3 << 20, 1 << 20);
    const std::string earlier = randomBytes(2 << 20, 99);
    writeFile(destination.path / "Lunes.qvtdb", earlier);

    const auto boxes =
        boxesOf(inChild([&] { return acceptAndTell(h, destination.path.string(), "Lunes"); }, destination.options));
    // Why a drive with room for one copy is full: both stand on it for a
    // while. A drive that is too small is told so before the question.
    if (destination.disk) {
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_NE(boxes[0].find("la unidad necesita espacio para los dos"), std::string::npos) << boxes[0];
    } else {
        ASSERT_EQ(boxes.size(), 3u);  // the overwrite question, the report, the failure
        const std::string reportStart = destination.reportStart();
        EXPECT_TRUE(boxes[1].starts_with(reportStart.substr(0, reportStart.size() - 2))) << boxes[1];
        EXPECT_EQ(boxes[2], messages::kBackupFailed);
    }
    EXPECT_TRUE(readFile(destination.path / "Lunes.qvtdb") == earlier);
    EXPECT_TRUE(temporaryFiles(destination.path).empty());
}

TEST_F(Faults, TheDiskFillsUpInTheMiddleOfTheDataCentre) {
    auto disk = SmallDisk::mount(3 << 20);
    if (!disk) GTEST_SKIP() << "needs root to mount a small tmpfs; a file-size limit cannot fill a disk";
    const std::string database = h.addDatabase(".mdb", 256 << 10);
    for (int i = 0; i < 10; ++i)
        writeFile(h.program() / "QVT Datos/Archivo" / ("documento " + std::to_string(i) + ".pdf"),
                  randomBytes(200 << 10, i));
    h.load();
    rememberQuvetra();
    // Another program takes the room while the backup runs.
    h.window.onStatus = [&](const std::string& status) {
        if (status.find("Archivo") != std::string::npos) fillDriveLeaving(disk->path(), 300 << 10);
    };

    const auto boxes = boxesOf(inChild([&] { return acceptAndTell(h, disk->path().string() + "/", "Lunes"); }));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(boxes[0].starts_with("No se pudo respaldar todo el centro de datos.")) << boxes[0];
    EXPECT_NE(boxes[0].find("No queda espacio en el dispositivo (28)"), std::string::npos) << boxes[0];
    EXPECT_EQ(boxes[1], messages::kBackupFailed);
    EXPECT_TRUE(readFile(disk->path() / "Lunes.qvtdb") == database);
    expectWholeTree(disk->path() / "Respaldo QVT", h.program() / "QVT Datos");
    EXPECT_TRUE(temporaryFiles(disk->path()).empty());
}

TEST_F(Faults, ADataCentreFileThatCannotBeReadIsReported) {
    h.addDatabase(".mdb");
    h.addDataCentre();
    const fs::path secret = writeFile(h.program() / "QVT Datos/Archivo/secreto.pdf", "secreto");
    h.load();
    openToEveryone(h.program().parent_path());
    fs::permissions(secret, fs::perms::none);
    rememberQuvetra();

    ChildOptions asUser;
    asUser.dropPrivileges = true;
    const auto boxes = boxesOf(inChild([&] { return acceptAndTell(h, h.destination().string(), "Lunes"); }, asUser));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[0].find("secreto.pdf"), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[0].find("Permiso denegado (13)"), std::string::npos) << boxes[0];
    EXPECT_EQ(boxes[1], messages::kBackupFailed);
    EXPECT_FALSE(fs::exists(h.destination() / "Respaldo QVT/Archivo/secreto.pdf"));
    // Everything else was copied.
    auto expected = h.expectedTree();
    EXPECT_EQ(snapshot(h.destination() / "Respaldo QVT"), expected);
}

TEST_F(Faults, EntriesThatCannotBeExaminedAreReportedNotDropped) {
    h.addDatabase(".mdb");
    h.addDataCentre();
    h.load();
    openToEveryone(h.program().parent_path());
    // Readable but not searchable: the names can be listed, not examined.
    fs::permissions(h.program() / "QVT Datos/Archivo",
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
    // A sub-folder that cannot be opened at all.
    fs::permissions(h.program() / "QVT Datos/Plantillas", fs::perms::owner_all);
    rememberQuvetra();

    ChildOptions asUser;
    asUser.dropPrivileges = true;
    const auto boxes = boxesOf(inChild([&] { return acceptAndTell(h, h.destination().string(), "Lunes"); }, asUser));
    ASSERT_EQ(boxes.size(), 2u);
    for (const char* named : {"Archivo/contrato 2026.pdf'", "Archivo/recibo.pdf'", "Leer la carpeta"})
        EXPECT_NE(boxes[0].find(named), std::string::npos) << named << "\n" << boxes[0];
    EXPECT_NE(boxes[0].find("Plantillas'"), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[0].find("Permiso denegado (13)"), std::string::npos) << boxes[0];
    EXPECT_EQ(boxes[1], messages::kBackupFailed);
    EXPECT_EQ(readFile(h.destination() / "Respaldo QVT/Referencias/ref.xls"), "ref");
}

// A FAT drive holds no file of 4 GiB or more: such a document is told with
// that reason before a byte of it is written, and the others are copied.
TEST_F(Faults, ADocumentOfFourGigabytesForAFatDriveIsToldWithItsReason) {
    auto drive = FatDrive::mount();
    if (!drive) GTEST_SKIP() << "needs mkfs.vfat, fusefat and /dev/fuse to mount a FAT image";
    h.addDatabase(".mdb");
    const fs::path large = writeFile(h.program() / "QVT Datos/Archivo/escaneos.zip", "");
    fs::resize_file(large, 4ull << 30);  // sparse: nothing of it is on the disk
    writeFile(h.program() / "QVT Datos/Archivo/recibo.pdf", "recibo");
    h.load();  // Quvetra's files are not read whole here: one of them is 4 GiB
    h.accept(drive->path().string() + "/");
    ASSERT_EQ(h.dialogs.boxes.size(), 2u);
    const std::string& report = h.dialogs.boxes[0].text;
    EXPECT_NE(report.find("Copiar '" + large.string() + "' en '" + drive->path().string() +
                          "/Respaldo QVT/Archivo': " + kTooLargeForFat + " (27)."),
              std::string::npos)
        << report;
    EXPECT_EQ(readFile(drive->path() / "Respaldo QVT/Archivo/recibo.pdf"), "recibo");
    EXPECT_FALSE(fs::exists(drive->path() / "Respaldo QVT/Archivo/escaneos.zip"));
    EXPECT_TRUE(temporaryFiles(drive->path() / "Respaldo QVT/Archivo").empty());
}

// A stick pulled out during the data centre leaves its empty mount point:
// one line tells the drive is gone and how many documents were not copied.
TEST_F(Faults, AStickPulledOutDuringTheDataCentreIsOneLine) {
    auto drive = FatDrive::mount();
    if (!drive) GTEST_SKIP() << "needs mkfs.vfat, fusefat and /dev/fuse to mount a FAT image";
    h.addDatabase(".mdb");
    for (int i = 0; i < 30; ++i)
        writeFile(h.program() / "QVT Datos/Archivo" / ("documento " + std::to_string(i) + ".pdf"), "documento");
    h.load();
    rememberQuvetra();
    h.window.onStatus = [&](const std::string& status) {
        if (status.find("Archivo") != std::string::npos) drive->unplug();
    };
    h.accept(drive->path().string() + "/");
    ASSERT_EQ(h.dialogs.boxes.size(), 2u);
    const std::string& report = h.dialogs.boxes[0].text;
    EXPECT_NE(report.find("La unidad de destino ya no está disponible: no se copiaron 30 documentos"),
              std::string::npos)
        << report;
    EXPECT_EQ(report.find("\r\n- "), report.rfind("\r\n- ")) << "one line only: " << report;
    EXPECT_EQ(h.dialogs.boxes[1].text, messages::kBackupFailed);
    EXPECT_TRUE(fs::is_empty(drive->path())) << "nothing was written where the stick was";
}

// FAT and exFAT sticks, NTFS and Windows shares take "Recibo.pdf" and
// "recibo.pdf" for one name.
TEST_F(Faults, TwoNamesThatDifferOnlyInCaseOnADriveThatIgnoresCase) {
    auto drive = FatDrive::mount();
    if (!drive) GTEST_SKIP() << "needs mkfs.vfat, fusefat and /dev/fuse to mount a FAT image";
    h.addDatabase(".mdb");
    writeFile(h.program() / "QVT Datos/Archivo/Recibo.pdf", "Recibo de enero");
    writeFile(h.program() / "QVT Datos/Archivo/recibo.pdf", "recibo de febrero");
    writeFile(h.program() / "QVT Datos/Plantillas/Carta.dot", "carta nueva");
    writeFile(h.program() / "QVT Datos/Plantillas/CARTA.DOT", "CARTA NUEVA");
    // A file that stood in the tree before this run is kept in silence, whichever name meets it.
    writeFile(drive->path() / "Respaldo QVT/Plantillas/carta.dot", "carta de antes");
    h.load();
    rememberQuvetra();

    h.accept(drive->path().string() + "/");
    // The kept letter is older than both of Quvetra's; then the name taken twice.
    ASSERT_EQ(h.dialogs.boxes.size(), 3u) << h.dialogs.boxes[0].text;
    EXPECT_EQ(h.dialogs.boxes[0].title, "Documentos no actualizados");
    EXPECT_NE(h.dialogs.boxes[0].text.find("\r\n- Plantillas/CARTA.DOT\r\n- Plantillas/Carta.dot"), std::string::npos)
        << h.dialogs.boxes[0].text;
    const std::string& report = h.dialogs.boxes[1].text;
    EXPECT_NE(report.find("Copiar '" + (h.program() / "QVT Datos/Archivo/recibo.pdf").string() +
                          "': La unidad de destino no distingue mayúsculas de minúsculas, y para ella es el mismo "
                          "nombre que 'Recibo.pdf', ya copiado en este respaldo"),
              std::string::npos)
        << report;
    EXPECT_EQ(report.find("arta"), std::string::npos) << report;
    EXPECT_EQ(h.dialogs.boxes[2].text, messages::kBackupFailed);
    EXPECT_EQ(readFile(drive->path() / "Respaldo QVT/Archivo/recibo.pdf"), "Recibo de enero");
    EXPECT_EQ(readFile(drive->path() / "Respaldo QVT/Plantillas/Carta.dot"), "carta de antes");
}

TEST(ProgramAtTheRoot, AWholeBackupFromAProgramFolderAtTheTopOfTheFileSystem) {
    if (!runningAsRoot()) GTEST_SKIP() << "needs root to make a folder the root of a child process";
    const TempFolder drive;
    const std::string database = randomBytes(100'000, 3);
    writeFile(drive / "QVT Datos.mdb", database);
    writeFile(drive / "QVT Datos/Archivo/recibo.pdf", "recibo");
    fs::create_directory(drive / "Copias");
    const std::string told = inChild([&] {
        if (chroot(drive.path().c_str()) != 0 || chdir("/") != 0) return std::string("no chroot");
        FakeWindow window;
        ScriptedDialogs dialogs;
        posix::PosixFileSystem files("/");
        FixedClock clock(Date{2026, 12, 7});
        Principal principal(window, dialogs, files, clock);
        principal.load();
        window.setText(Control::Text1, "/Copias/");
        principal.toolbar1ButtonClick("Aceptar");
        return (window.visible[Control::Check1] ? "visible: " : "hidden: ") + dialogs.boxes.back().text;
    });
    EXPECT_EQ(told, std::string("visible: ") + messages::kBackupSucceeded);
    EXPECT_TRUE(readFile(drive / "Copias/Respaldo (07-12-2026).qvtdb") == database);
    EXPECT_EQ(readFile(drive / "Copias/Respaldo QVT/Archivo/recibo.pdf"), "recibo");
}

TEST_F(Faults, AReadOnlyDestinationIsReported) {
    h.addDatabase(".mdb");
    h.load();
    rememberQuvetra();
    auto disk = SmallDisk::mount(1 << 20, true);
    fs::path destination = h.destination();
    ChildOptions options;
    if (disk) {
        destination = disk->path();
    } else if (runningAsRoot()) {
        GTEST_SKIP() << "mounting is not allowed here, and root writes into a read-only folder anyway";
    } else {
        fs::permissions(destination, fs::perms::owner_read | fs::perms::owner_exec);
    }
    const auto boxes = boxesOf(inChild([&] { return acceptAndTell(h, destination.string(), "Lunes"); }, options));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(boxes[0].starts_with(disk ? "Número: 30\r\nDescripción: Sistema de archivos de solo lectura"
                                          : "Número: 13\r\nDescripción: Permiso denegado"))
        << boxes[0];
    EXPECT_EQ(boxes[1], messages::kBackupFailed);
    EXPECT_TRUE(fs::is_empty(destination));
}

TEST_F(Faults, ADestinationRemovedAfterTheChecksIsReported) {
    h.addDatabase(".mdb");
    h.addDataCentre();
    h.load();
    rememberQuvetra();
    const fs::path destination = h.destination() / "usb";
    fs::create_directory(destination);
    // The drive is pulled between the checks and the copy.
    h.window.onBusyPointer = [&](bool busy) {
        if (busy) fs::remove_all(destination);
    };
    h.accept(destination.string() + "/");
    ASSERT_EQ(h.dialogs.boxes.size(), 2u);
    EXPECT_TRUE(h.dialogs.boxes[0].text.starts_with("Número: 2\r\n")) << h.dialogs.boxes[0].text;
    EXPECT_EQ(h.dialogs.boxes[1].text, messages::kBackupFailed);
    EXPECT_FALSE(fs::exists(destination));
}

TEST_F(Faults, SpecialFilesInTheDataCentreAreLeftOutAndNothingHangs) {
    const std::string database = h.addDatabase(".mdb");
    h.addDataCentre();
    const fs::path centre = h.program() / "QVT Datos";
    for (const fs::path& folder : {centre, centre / "Archivo"}) {
        ASSERT_EQ(mkfifo((folder / "tubo").c_str(), 0600), 0);
        makeSocket(folder / "enchufe");
        fs::create_symlink(folder / "no-existe", folder / "roto");
        fs::create_symlink(folder / "bucle", folder / "bucle");
    }
    fs::create_symlink(centre / "notas.txt", centre / "enlace a notas.txt");
    h.load();
    rememberQuvetra();

    h.accept(h.destination().string());
    // Links are told by name, never followed; the rest is no document.
    ASSERT_EQ(h.dialogs.boxes.size(), 2u) << h.dialogs.boxes[0].text;
    EXPECT_EQ(h.dialogs.boxes[0].title, messages::kLeftOutWithLinksTitle);
    EXPECT_NE(h.dialogs.boxes[0].text.find("- Archivo/bucle\r\n- Archivo/roto\r\n- bucle\r\n- enlace a notas.txt\r\n- "
                                           "roto"),
              std::string::npos)
        << h.dialogs.boxes[0].text;
    EXPECT_EQ(h.dialogs.boxes[1].text, messages::kBackupSucceeded);
    EXPECT_EQ(snapshot(h.destination() / "Respaldo QVT"), h.expectedTree());
}

// Links that lead out of the data centre, or round in a loop, or stand in
// for a whole sub-folder: none is followed, each is named, and the backup
// ends.
TEST_F(Faults, LinksInTheDataCentreAreToldNeverFollowed) {
    h.addDatabase(".mdb");
    h.addDataCentre();
    const fs::path centre = h.program() / "QVT Datos";
    const TempFolder elsewhere;
    writeFile(elsewhere / "privado.txt", "de otra persona");
    writeFile(elsewhere / "Tarifas ajenas.xls", "ajenas");
    fs::create_symlink("/etc/passwd", centre / "passwd");
    fs::create_symlink(elsewhere / "privado.txt", centre / "Archivo/privado.txt");
    writeFile(centre / "Otros/suelto.txt", "suelto");
    fs::create_directory_symlink("/", centre / "Otros/raiz");
    fs::create_directory_symlink(".", centre / "Otros/a");
    fs::create_directory_symlink(".", centre / "Otros/b");
    fs::remove_all(centre / "Referencias");
    fs::create_directory_symlink(elsewhere.path(), centre / "Referencias");
    h.load();
    rememberQuvetra();

    h.accept(h.destination().string());
    ASSERT_EQ(h.dialogs.boxes.size(), 2u) << h.dialogs.boxes[0].text;
    const std::string& told = h.dialogs.boxes[0].text;
    EXPECT_EQ(h.dialogs.boxes[0].title, messages::kLeftOutWithLinksTitle);
    EXPECT_NE(told.find("- Otros (1 archivo)"), std::string::npos) << told;
    EXPECT_NE(told.find("- Archivo/privado.txt\r\n- Referencias\r\n- passwd\r\n"), std::string::npos) << told;
    EXPECT_EQ(h.dialogs.boxes[1].text, messages::kBackupSucceeded);
    auto expected = h.expectedTree();
    std::erase_if(expected, [](const auto& file) { return file.first.starts_with("Referencias"); });
    EXPECT_EQ(snapshot(h.destination() / "Respaldo QVT"), expected);
}

// The backup tree must be the user's own real folders: a link leads the
// documents elsewhere (here onto Quvetra's own), and a folder another user
// owns or may write into can hold documents planted there, which the
// backup would keep as its copies. Each is refused before anything is
// written, naming the folder; once mended, the backup runs.
TEST_F(Faults, ATreeThatIsALinkOrNotTheUsersIsRefusedBeforeAnythingIsWritten) {
    h.addDatabase(".mdb");
    h.addDataCentre();
    h.load();
    rememberQuvetra();
    const fs::path tree = h.destination() / "Respaldo QVT";
    const TempFolder elsewhere;
    const auto refusedNaming = [&](const fs::path& folder, const std::string& why) {
        h.dialogs.boxes.clear();
        h.accept(h.destination().string());
        ASSERT_EQ(h.dialogs.boxes.size(), 1u);
        EXPECT_NE(h.dialogs.boxes[0].text.find("'" + folder.string() + "'"), std::string::npos)
            << h.dialogs.boxes[0].text;
        EXPECT_NE(h.dialogs.boxes[0].text.find(why), std::string::npos) << h.dialogs.boxes[0].text;
        EXPECT_EQ(h.window.focus, Control::Text1);
        EXPECT_FALSE(fs::exists(h.destination() / "Lunes.qvtdb"));
    };

    fs::create_directory_symlink(h.program() / "QVT Datos", tree);
    refusedNaming(tree, "Es un enlace");
    fs::remove(tree);
    fs::create_directory(tree);
    fs::create_directory_symlink(elsewhere.path(), tree / "Archivo");
    refusedNaming(tree / "Archivo", "Es un enlace");
    EXPECT_TRUE(fs::is_empty(elsewhere.path()));
    fs::remove(tree / "Archivo");
    fs::create_directory(tree / "Archivo");
    fs::permissions(tree / "Archivo", fs::perms::all);
    refusedNaming(tree / "Archivo", "Cualquier usuario puede escribir");
    fs::permissions(tree / "Archivo", fs::perms::others_write, fs::perm_options::remove);
    if (runningAsRoot()) {
        ASSERT_EQ(chown((tree / "Archivo").c_str(), 65534, 65534), 0);
        refusedNaming(tree / "Archivo", "Es una carpeta de otro usuario");
        ASSERT_EQ(chown((tree / "Archivo").c_str(), 0, 0), 0);
    }

    h.dialogs.boxes.clear();
    h.accept(h.destination().string());
    EXPECT_EQ(h.dialogs.boxes.back().text, messages::kBackupSucceeded);
    EXPECT_EQ(snapshot(tree), h.expectedTree());
}

// Tree folders the backup makes are as private as Quvetra's, and never
// open to every user's writing.
TEST_F(Faults, NewTreeFoldersKeepTheirSourcesPermissionsLessWritingByOthers) {
    h.addDatabase(".mdb");
    h.addDataCentre();
    const fs::path centre = h.program() / "QVT Datos";
    fs::permissions(centre / "Archivo", fs::perms::owner_all);
    fs::permissions(centre / "Plantillas", fs::perms::all);
    h.load();
    rememberQuvetra();
    h.accept(h.destination().string());
    ASSERT_EQ(h.dialogs.boxes.back().text, messages::kBackupSucceeded);
    const fs::path tree = h.destination() / "Respaldo QVT";
    EXPECT_EQ(fs::status(tree / "Archivo").permissions(), fs::perms::owner_all);
    EXPECT_EQ(fs::status(tree / "Plantillas").permissions() & fs::perms::others_write, fs::perms::none);
}

// A document swapped for a link between the listing and its copy.
TEST_F(Faults, ADocumentSwappedForALinkIsNotCopied) {
    const fs::path centre = h.program() / "QVT Datos";
    writeFile(centre / "Archivo/acta.txt", "acta");
    const TempFolder elsewhere;
    const fs::path secret = writeFile(elsewhere / "secreto", "secreto");
    FileSystem& files = h.files;
    CopyBatch batch(files);
    ASSERT_FALSE(batch.add(centre / "Archivo/acta.txt", h.destination() / "acta.txt", {}));
    fs::remove(centre / "Archivo/acta.txt");
    fs::create_symlink(secret, centre / "Archivo/acta.txt");
    const Outcome refused = batch.add(centre / "Archivo/acta.txt", h.destination() / "otra.txt", {});
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->number, ELOOP);
    EXPECT_TRUE(batch.commit({}).empty());
    EXPECT_FALSE(fs::exists(h.destination() / "otra.txt"));
    // The database may be reached through a link, and is read through it.
    fs::create_symlink(secret, h.program() / "QVT Datos.mdb");
    EXPECT_FALSE(copyVerified(files, h.program() / "QVT Datos.mdb", h.destination() / "base.qvtdb", false, {}));
}

// How another process changes the database while it is copied.
enum class Change { Grow, Truncate, Rewrite };

class SourceChanged : public Faults, public ::testing::WithParamInterface<Change> {};

TEST_P(SourceChanged, TheTornCopyIsNeverKept) {
    h.addDatabase(".mdb", 12 << 20);
    h.load();
    const std::string earlier = "respaldo anterior";
    writeFile(h.destination() / "Lunes.qvtdb", earlier);
    const fs::path database = h.program() / "QVT Datos.mdb";
    bool changed = false;
    h.window.onProcessEvents = [&] {
        if (changed) return;
        changed = true;
        inChild([&] {
            if (GetParam() == Change::Grow) {
                std::ofstream(database, std::ios::binary | std::ios::app) << "más datos";
            } else if (GetParam() == Change::Truncate) {
                fs::resize_file(database, 1 << 20);
            } else {
                std::fstream file(database, std::ios::binary | std::ios::in | std::ios::out);
                file.seekp(100);
                file << "reescrito";
            }
            return std::string();
        });
    };
    h.accept(h.destination().string());
    ASSERT_TRUE(changed);
    ASSERT_EQ(h.dialogs.boxes.size(), 3u);
    EXPECT_NE(h.dialogs.boxes[1].text.find("El archivo cambió mientras se copiaba"), std::string::npos)
        << h.dialogs.boxes[1].text;
    EXPECT_EQ(h.dialogs.boxes[2].text, messages::kBackupFailed);
    EXPECT_EQ(readFile(h.destination() / "Lunes.qvtdb"), earlier);
    EXPECT_TRUE(temporaryFiles(h.destination()).empty());
}

INSTANTIATE_TEST_SUITE_P(Faults, SourceChanged, ::testing::Values(Change::Grow, Change::Truncate, Change::Rewrite));

TEST_F(Faults, AFatUsbDriveThatHoldsNoPermissionsTakesTheWholeBackup) {
    auto drive = FatDrive::mount();
    if (!drive) GTEST_SKIP() << "needs mkfs.vfat, fusefat and /dev/fuse to mount a FAT image";
    const std::string database = h.addDatabase(".mdb", 5 << 20);
    h.addDataCentre();
    // fusefat writes ASCII names only (the kernel's FAT driver takes any).
    fs::remove(h.program() / "QVT Datos/Índice general.doc");
    h.load();
    rememberQuvetra();

    h.accept(drive->path().string() + "/");
    ASSERT_FALSE(h.dialogs.boxes.empty());
    EXPECT_EQ(h.dialogs.boxes.back().text, messages::kBackupSucceeded) << h.dialogs.boxes.front().text;
    EXPECT_TRUE(readFile(drive->path() / "Lunes.qvtdb") == database);
    expectWholeTree(drive->path() / "Respaldo QVT", h.program() / "QVT Datos");
    EXPECT_TRUE(temporaryFiles(drive->path()).empty());
}

// Drives that take every write and report it done, then give back other
// bytes: worn flash, a counterfeit stick, a share that drops writes.
#define MOUNT_LYING_DRIVE(name, ...)                                       \
    std::string why;                                                       \
    auto name = FaultyDrive::mount(FaultyDrive::Faults{__VA_ARGS__}, why); \
    if (!name) GTEST_SKIP() << why

TEST_F(Faults, ADriveThatGivesBackOtherBytesFailsTheDatabaseStageAndKeepsTheEarlierBackup) {
    MOUNT_LYING_DRIVE(drive, "*", -1);
    h.addDatabase(".mdb", 3 << 20);
    h.load();
    rememberQuvetra();
    writeFile(drive->backing() / "Lunes.qvtdb", "respaldo anterior");

    h.accept(drive->path().string() + "/", "Lunes");
    ASSERT_EQ(h.dialogs.boxes.size(), 3u);  // the overwrite question, the report, the failure
    const std::string& report = h.dialogs.boxes[1].text;
    EXPECT_TRUE(
        report.starts_with("Número: 536870913\r\nDescripción: La copia leída de nuevo del disco no es igual "
                           "al archivo de Quvetra"))
        << report;
    EXPECT_NE(report.find("Fuente: Comprobar la copia de '" + (h.program() / "QVT Datos.mdb").string() + "' en '" +
                          drive->path().string() + "'"),
              std::string::npos)
        << report;
    EXPECT_EQ(h.dialogs.boxes[2].text, messages::kBackupFailed);
    EXPECT_EQ(readFile(drive->backing() / "Lunes.qvtdb"), "respaldo anterior");
    EXPECT_TRUE(temporaryFiles(drive->backing()).empty());
}

TEST_F(Faults, ADriveThatGivesBackOneFileOtherwiseListsItAndCopiesTheRest) {
    MOUNT_LYING_DRIVE(drive, "recibo", -1);  // the content of "recibo.pdf"
    const std::string database = h.addDatabase(".mdb");
    h.addDataCentre();
    h.load();
    rememberQuvetra();

    h.accept(drive->path().string() + "/", "Lunes");
    ASSERT_EQ(h.dialogs.boxes.size(), 2u);
    EXPECT_EQ(h.dialogs.boxes[0].title, "Respaldo incompleto");
    EXPECT_NE(h.dialogs.boxes[0].text.find("recibo.pdf"), std::string::npos) << h.dialogs.boxes[0].text;
    EXPECT_NE(h.dialogs.boxes[0].text.find("(536870913)"), std::string::npos) << h.dialogs.boxes[0].text;
    EXPECT_EQ(h.dialogs.boxes[1].text, messages::kBackupFailed);
    EXPECT_TRUE(readFile(drive->backing() / "Lunes.qvtdb") == database);
    auto expected = h.expectedTree();
    expected.erase("Archivo/recibo.pdf");
    EXPECT_EQ(snapshot(drive->backing() / "Respaldo QVT"), expected);
}

TEST_F(Faults, ACounterfeitStickThatKeepsOnlyItsFirstMegabyteIsNoSuccess) {
    MOUNT_LYING_DRIVE(drive, "", 1 << 20);
    h.addDatabase(".mdb", 3 << 20);
    h.load();
    rememberQuvetra();

    h.accept(drive->path().string() + "/", "Lunes");
    ASSERT_EQ(h.dialogs.boxes.size(), 2u);
    EXPECT_TRUE(h.dialogs.boxes[0].text.starts_with("Número: 536870913\r\n")) << h.dialogs.boxes[0].text;
    EXPECT_EQ(h.dialogs.boxes[1].text, messages::kBackupFailed);
    EXPECT_FALSE(fs::exists(drive->backing() / "Lunes.qvtdb"));
    EXPECT_TRUE(temporaryFiles(drive->backing()).empty());
}

TEST_F(Faults, TwoProgramsBackingUpIntoOneDestinationAtOnce) {
    const std::string database = h.addDatabase(".mdb", 4 << 20);
    for (int i = 0; i < 150; ++i)
        writeFile(h.program() / "QVT Datos/Plantillas" / ("plantilla " + std::to_string(i)), randomBytes(40 << 10, i));
    h.load();
    rememberQuvetra();

    int go[2];
    ASSERT_EQ(pipe(go), 0);
    auto program = [&](const std::string& name) {
        return startChild([&, name] {
            char ready;
            close(go[1]);
            if (read(go[0], &ready, 1) < 0) return std::string("sin señal");
            return acceptAndTell(h, h.destination().string(), name);
        });
    };
    Child first = program("Primero");
    Child second = program("Segundo");
    close(go[0]);
    close(go[1]);  // both start now
    const auto firstBoxes = boxesOf(waitForChild(first));
    const auto secondBoxes = boxesOf(waitForChild(second));

    EXPECT_EQ(firstBoxes, std::vector<std::string>{messages::kBackupSucceeded});
    EXPECT_EQ(secondBoxes, std::vector<std::string>{messages::kBackupSucceeded});
    EXPECT_TRUE(readFile(h.destination() / "Primero.qvtdb") == database);
    EXPECT_TRUE(readFile(h.destination() / "Segundo.qvtdb") == database);
    EXPECT_EQ(
        std::distance(fs::directory_iterator(h.destination() / "Respaldo QVT/Plantillas"), fs::directory_iterator()),
        150);
    expectWholeTree(h.destination() / "Respaldo QVT", h.program() / "QVT Datos");
    EXPECT_TRUE(temporaryFiles(h.destination()).empty());
}

TEST_F(Faults, KilledAtRandomMomentsTheBackupIsOldOrNewNeverAMix) {
    const std::string old = h.addDatabase(".mdb", 8 << 20, 1);
    h.addDataCentre();
    h.load();
    h.accept(h.destination().string());
    ASSERT_EQ(readFile(h.destination() / "Lunes.qvtdb"), old);
    const std::string fresh = h.addDatabase(".mdb", 8 << 20, 2);
    writeFile(h.program() / "QVT Datos/Archivo/nuevo.pdf", randomBytes(3 << 20, 3));
    rememberQuvetra();

    auto run = [&] {
        return startChild([&] {
            h.window.closed = false;
            h.dialogs.boxes.clear();
            return acceptAndTell(h, h.destination().string(), "Lunes");
        });
    };
    // How long a whole run takes here, to kill within it.
    const auto start = std::chrono::steady_clock::now();
    waitForChild(run());
    const auto whole = std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start);
    writeFile(h.destination() / "Lunes.qvtdb", old);
    fs::remove(h.destination() / "Respaldo QVT/Archivo/nuevo.pdf");

    std::mt19937 random(2026);
    int sawOld = 0, sawNew = 0;
    for (int i = 0; i < 30; ++i) {
        Child child = run();
        std::this_thread::sleep_for(milliseconds(random() % (whole.count() + 1)));
        kill(child.pid, SIGKILL);
        waitForChild(child);
        const std::string backup = readFile(h.destination() / "Lunes.qvtdb");
        ASSERT_TRUE(backup == old || backup == fresh) << "run " << i << " left a mixed backup";
        (backup == old ? sawOld : sawNew)++;
        if (fs::exists(h.destination() / "Respaldo QVT/Archivo/nuevo.pdf")) {
            ASSERT_TRUE(readFile(h.destination() / "Respaldo QVT/Archivo/nuevo.pdf") ==
                        readFile(h.program() / "QVT Datos/Archivo/nuevo.pdf"));
        }
    }
    RecordProperty("killed_before_the_rename", sawOld);
    RecordProperty("killed_after_the_rename", sawNew);

    // The next whole run clears what the killed ones left.
    const auto boxes = boxesOf(waitForChild(run()));
    EXPECT_EQ(boxes.back(), messages::kBackupSucceeded);
    EXPECT_EQ(readFile(h.destination() / "Lunes.qvtdb"), fresh);
    EXPECT_TRUE(temporaryFiles(h.destination()).empty());
}

}  // namespace
}  // namespace ruror::test
