#include "os/win32/extended_path.h"

#include <gtest/gtest.h>

namespace ruror::win32 {
namespace {

// Checked as text: Wine takes long paths without this form where Windows
// refuses them, and cannot reach network shares.
TEST(ExtendedPath, DrivesAndSharesTakeTheLongFormWithSingleSeparators) {
    EXPECT_EQ(extendedLengthPath(L"D:\\Copias\\\\Lunes.qvtdb"), L"\\\\?\\D:\\Copias\\Lunes.qvtdb");
    EXPECT_EQ(extendedLengthPath(L"C:\\\\QVT Datos"), L"\\\\?\\C:\\QVT Datos");
    EXPECT_EQ(extendedLengthPath(L"C:\\"), L"\\\\?\\C:\\");
    EXPECT_EQ(extendedLengthPath(L"c:/Copias//Respaldo QVT"), L"\\\\?\\c:\\Copias\\Respaldo QVT");
    EXPECT_EQ(extendedLengthPath(L"\\\\servidor\\compartido\\\\Respaldo QVT"),
              L"\\\\?\\UNC\\servidor\\compartido\\Respaldo QVT");
    const std::wstring deep = L"D:\\" + std::wstring(300, L'a') + L"\\Lunes.qvtdb";
    EXPECT_EQ(extendedLengthPath(deep), L"\\\\?\\" + deep);
}

TEST(ExtendedPath, OtherPathsAreLeftAsTheyAre) {
    EXPECT_EQ(extendedLengthPath(L"\\\\?\\D:\\Copias"), L"\\\\?\\D:\\Copias");
    EXPECT_EQ(extendedLengthPath(L"C:Copias"), L"C:Copias");
    EXPECT_EQ(extendedLengthPath(L"\\Copias"), L"\\Copias");
    EXPECT_EQ(extendedLengthPath(L"Copias\\Lunes"), L"Copias\\Lunes");
}

}  // namespace
}  // namespace ruror::win32
