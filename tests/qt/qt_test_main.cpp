#include <gtest/gtest.h>

#include <QApplication>

#include "platform/qt/spanish_translation.h"
#include "platform/qt/window_font.h"

// The window's tests run without a display unless one is asked for.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ruror::qt::installSpanishTranslation(application);
    ruror::qt::loadTahomaIfMissing();
    QApplication::setFont(ruror::qt::windowFont());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
