#include "core/windows_paths.h"

#include <gtest/gtest.h>

namespace ruror::windows_paths {
namespace {

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
    EXPECT_EQ(normalisedFullPath(L"E:"), L"E:\\");
    EXPECT_EQ(normalisedFullPath(L"\\\\servidor\\compartido\\..\\..\\Copias "), L"\\\\servidor\\compartido\\Copias");
    // Anything but a full path is left to the checks that refuse it.
    EXPECT_EQ(normalisedFullPath(L"Copias\\.."), L"Copias\\..");
    EXPECT_EQ(normalisedFullPath(L"C:Copias"), L"C:Copias");
}

}  // namespace
}  // namespace ruror::windows_paths
