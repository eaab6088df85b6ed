#include "main_window/backup_path_check.h"

#include <gtest/gtest.h>

namespace ruror {
namespace {

std::string repeated(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) all += text;
    return all;
}

// A name's length is counted as the drive counts it: bytes on Linux,
// UTF-16 units on Windows, where a long accented name still fits.
TEST(BackupPath, ANameIsAsLongAsItsDriveCountsIt) {
    const Location location(
#ifdef _WIN32
        "C:\\Copias"
#else
        "/copias"
#endif
    );
    const std::string accented = repeated("ñ", 240);  // 480 bytes, 240 UTF-16 units
#ifdef _WIN32
    EXPECT_FALSE(checkBackupPath(location, accented));
#else
    ASSERT_TRUE(checkBackupPath(location, accented));
    EXPECT_EQ(checkBackupPath(location, accented)->reason, "El nombre es demasiado largo.");
#endif
    EXPECT_TRUE(checkBackupPath(location, repeated("x", 250)));
}

// The paths the messages show have one separator between names, however
// the location was typed; a drive alone stands for its root on Windows.
TEST(BackupPath, APathIsShownWithOneSeparator) {
#ifdef _WIN32
    const auto shown = [](const char* typed) { return checkBackupPath(Location(typed), "CON")->path; };
    EXPECT_EQ(shown("E:"), "E:\\CON.qvtdb");
    EXPECT_EQ(shown("E:\\"), "E:\\CON.qvtdb");
    EXPECT_EQ(shown("E:\\Copias\\\\"), "E:\\Copias\\CON.qvtdb");
    EXPECT_EQ(shown("E:/Copias/"), "E:\\Copias\\CON.qvtdb");
    EXPECT_EQ(checkBackupPath(Location("E:"), "CON")->reason,
              "Windows reserva ese nombre para un dispositivo: el respaldo no se guardaría.");
#else
    const auto shown = [](const char* typed) { return checkBackupPath(Location(typed), "CON")->path; };
    EXPECT_EQ(shown("/"), "/CON.qvtdb");
    EXPECT_EQ(shown("/srv//copias//"), "/srv/copias/CON.qvtdb");
#endif
}

}  // namespace
}  // namespace ruror
