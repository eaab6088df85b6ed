#include "platform/win32/extended_path.h"

#include <gtest/gtest.h>

namespace ruror::win32 {
namespace {

// Pure text: checked on both platforms, since Wine takes long paths without
// this form where Windows refuses them, and cannot reach network shares.
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

// The long form turns off Windows' own clean-up of a path, so a location is
// first named as Windows names it.
TEST(NormalisedPath, ResolvesDotsAndTrimsComponentsAsWindowsDoes) {
    EXPECT_EQ(normalisedFullPath(L"E:\\otra\\..\\Copias"), L"E:\\Copias");
    EXPECT_EQ(normalisedFullPath(L"E:\\Copias\\.\\"), L"E:\\Copias\\");
    EXPECT_EQ(normalisedFullPath(L"E:\\Copias "), L"E:\\Copias");
    EXPECT_EQ(normalisedFullPath(L"E:\\Copias. . \\"), L"E:\\Copias\\");
    EXPECT_EQ(normalisedFullPath(L"E:/Copias/2026./Lunes"), L"E:\\Copias\\2026\\Lunes");
    EXPECT_EQ(normalisedFullPath(L"E:\\..\\..\\Copias"), L"E:\\Copias");
    EXPECT_EQ(normalisedFullPath(L"E:\\"), L"E:\\");
    EXPECT_EQ(normalisedFullPath(L"\\\\servidor\\compartido\\..\\..\\Copias "), L"\\\\servidor\\compartido\\Copias");
    // Anything but a full path is left to the checks that refuse it.
    EXPECT_EQ(normalisedFullPath(L"Copias\\.."), L"Copias\\..");
    EXPECT_EQ(normalisedFullPath(L"C:Copias"), L"C:Copias");
}

TEST(ExtendedPath, OtherPathsAreLeftAsTheyAre) {
    EXPECT_EQ(extendedLengthPath(L"\\\\?\\D:\\Copias"), L"\\\\?\\D:\\Copias");
    EXPECT_EQ(extendedLengthPath(L"C:Copias"), L"C:Copias");
    EXPECT_EQ(extendedLengthPath(L"\\Copias"), L"\\Copias");
    EXPECT_EQ(extendedLengthPath(L"Copias\\Lunes"), L"Copias\\Lunes");
}

}  // namespace
}  // namespace ruror::win32
