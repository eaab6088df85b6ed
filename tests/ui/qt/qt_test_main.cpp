#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "tests/support/temp_folder.h"

#include "ui/qt/spanish_translation.h"
#include "ui/qt/window_font.h"

// The window's tests run without a display unless one is asked for, and
// with a home folder of their own, which nothing may be left in.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const ruror::test::TempFolder home;
    const std::string homePath = home.path().string();
    setenv("HOME", homePath.c_str(), 1);
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        unsetenv(variable);
    const auto leftInHome = [&home] { return ruror::test::snapshot(home.path()); };
    const auto homeBefore = leftInHome();
    int result = 0;
    {
        QApplication application(argc, argv);
        ruror::qt::installSpanishTranslation(application);
        ruror::qt::loadTahomaIfMissing();
        QApplication::setFont(ruror::qt::windowFont());
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    // The program keeps nothing between runs, and neither may its toolkit.
    if (leftInHome() != homeBefore) {
        std::cerr << "Something was written to the home folder:\n";
        for (const auto& [path, content] : leftInHome()) std::cerr << "  " << path << "\n";
        return 1;
    }
    return result;
}
