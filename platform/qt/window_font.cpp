#include "platform/qt/window_font.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>

namespace ruror::qt {
namespace {

constexpr const char* kFamily = "Tahoma";
// 8.25 point at the reference 96 dots per inch.
constexpr int kPixelSize = 11;

}  // namespace

void loadTahomaIfMissing() {
    if (QFontDatabase::families().contains(kFamily)) return;
    for (const char* file : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"}) {
        if (QFile::exists(file)) QFontDatabase::addApplicationFont(file);
    }
}

QFont windowFont(bool bold) {
    QFont font = QFontDatabase::families().contains(kFamily) ? QFont(kFamily) : QGuiApplication::font();
    font.setPixelSize(kPixelSize);
    font.setBold(bold);
    return font;
}

}  // namespace ruror::qt
