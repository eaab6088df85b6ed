#include "ui/qt/window_font.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>

namespace ruror::qt {
namespace {

constexpr const char* kFamily = "Tahoma";
// 8.25 point at the reference 96 dots per inch.
constexpr int kPixelSize = 11;

}  // namespace

// Only the regular face: that copy's bold face is bold in its small bitmaps
// alone, and draws regular outlines. Without it the toolkit makes the bold
// from the regular face, as the window's two bold captions need.
void loadTahomaIfMissing() {
    if (QFontDatabase::families().contains(kFamily)) return;
    const char* regular = "/usr/share/wine/fonts/tahoma.ttf";
    if (QFile::exists(regular)) QFontDatabase::addApplicationFont(regular);
}

QFont windowFont(bool bold) {
    QFont font = QFontDatabase::families().contains(kFamily) ? QFont(kFamily) : QGuiApplication::font();
    font.setPixelSize(kPixelSize);
    font.setBold(bold);
    return font;
}

}  // namespace ruror::qt
