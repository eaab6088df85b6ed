#include "folder_picker/location_cleanup.h"

#include <gtest/gtest.h>

namespace ruror {
namespace {

TEST(LocationCleanup, EndsWithExactlyOneSeparator) {
    EXPECT_EQ(cleanedLocation("/", '/'), "/");
    EXPECT_EQ(cleanedLocation("/srv/copias", '/'), "/srv/copias/");
    EXPECT_EQ(cleanedLocation("/srv/copias/", '/'), "/srv/copias/");
    EXPECT_EQ(cleanedLocation("//servidor/compartido", '/'), "//servidor/compartido/");
    EXPECT_EQ(cleanedLocation("", '/'), "");
}

TEST(LocationCleanup, CollapsesPairsInOnePassLeftToRight) {
    EXPECT_EQ(cleanedLocation("/srv///copias", '/'), "/srv//copias/");
    EXPECT_EQ(cleanedLocation("/srv////copias", '/'), "/srv//copias/");
    EXPECT_EQ(cleanedLocation("/año//ñu", '/'), "/año/ñu/");
}

TEST(LocationCleanup, TheSameRuleWithTheWindowsSeparator) {
    EXPECT_EQ(cleanedLocation("C:\\", '\\'), "C:\\");
    EXPECT_EQ(cleanedLocation("D:\\Copias", '\\'), "D:\\Copias\\");
    EXPECT_EQ(cleanedLocation("\\\\servidor\\compartido", '\\'), "\\\\servidor\\compartido\\");
    EXPECT_EQ(cleanedLocation("D:\\a\\\\\\b", '\\'), "D:\\a\\\\b\\");
}

}  // namespace
}  // namespace ruror
