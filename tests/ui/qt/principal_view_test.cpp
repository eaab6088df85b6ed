#include "ui/qt/principal_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>
#include <QToolButton>
#include <algorithm>

#include "main_window/principal.h"
#include "os/posix/posix_file_system.h"
#include "tests/support/fake_window.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_folder.h"

namespace ruror::test {
namespace {

namespace fs = std::filesystem;

// The real window on a Quvetra folder with a data centre, its boxes scripted.
class WindowTest : public ::testing::Test {
protected:
    WindowTest() : files(folder / "Quvetra"), clock(Date{2026, 12, 7}), principal(view, dialogs, files, clock) {
        fs::create_directories(folder / "Quvetra/QVT Datos");
        fs::create_directories(folder / "Copias");
        view.attach(principal);
        principal.load();
        view.showCentred();
        QApplication::setActiveWindow(&view);
    }

    template <typename T = QWidget>
    T* find(const char* name) {
        T* found = view.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QLineEdit* text1() { return find<QLineEdit>("Text1"); }
    QLineEdit* text2() { return find<QLineEdit>("Text2"); }

    TempFolder folder;
    qt::PrincipalView view;
    ScriptedDialogs dialogs;
    posix::PosixFileSystem files;
    FixedClock clock;
    Principal principal;
};

TEST_F(WindowTest, BuildsEveryControlWithItsTextsAndPlace) {
    EXPECT_EQ(view.windowTitle(), "Respaldo de seguridad");
    // The reference size, and a row for the figures under the progress bar.
    EXPECT_EQ(view.size(), QSize(464, 171 + 16));
    EXPECT_EQ(find<QLabel>("Label2")->text(), "Respaldo de seguridad | Quvetra");
    EXPECT_TRUE(find<QLabel>("Label2")->font().bold());
    EXPECT_TRUE(find<QLabel>("Label3")->font().bold());
    EXPECT_EQ(find<QLabel>("Label1(0)")->text(), "&Ubicación :");
    EXPECT_EQ(find<QLabel>("Label1(1)")->text(), "&Nombre :");
    EXPECT_EQ(find<QLabel>("Label1(0)")->buddy(), text1());
    EXPECT_EQ(find<QLabel>("Label1(1)")->buddy(), text2());
    EXPECT_EQ(text1()->geometry(), QRect(70, 59, 355, 21));
    EXPECT_EQ(text2()->geometry(), QRect(70, 93, 175, 22));
    EXPECT_EQ(text1()->text(), "");
    EXPECT_EQ(text2()->text(), "Respaldo (07-12-2026)");

    auto* check = find<QCheckBox>("Check1");
    EXPECT_EQ(check->text(), "&Centro de datos QVT Datos");
    EXPECT_EQ(check->toolTip(),
              "Incluye documentos adjuntos, documentos digitales y todas las plantillas implementadas.");
    EXPECT_TRUE(check->isChecked());
    EXPECT_TRUE(check->isVisible());

    EXPECT_EQ(find<QToolButton>("Toolbar1.Button1")->text(), "Aceptar");
    EXPECT_EQ(find<QToolButton>("Toolbar1.Button3")->text(), "Cancelar");
    EXPECT_EQ(find<QToolButton>("Toolbar1.Button1")->size(), QSize(73, 22));
    EXPECT_EQ(find<QToolButton>("Toolbar2.Button1")->toolTip(), "Seleccione el destino de la información");
    EXPECT_FALSE(find<QToolButton>("Toolbar2.Button1")->icon().isNull());
    // The banner picture is drawn for the screen's scale, so it stays crisp.
    EXPECT_EQ(find<QLabel>("Image1")->pixmap().devicePixelRatio(), view.devicePixelRatioF());
    EXPECT_FALSE(find<QProgressBar>("ProgressBar")->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), text1());
}

TEST_F(WindowTest, EveryControlHasANameForScreenReaders) {
    EXPECT_EQ(text1()->accessibleName(), "Ubicación");
    EXPECT_EQ(text2()->accessibleName(), "Nombre");
    EXPECT_EQ(find("Check1")->accessibleName(), "Centro de datos QVT Datos");
    EXPECT_EQ(find("Toolbar1.Button1")->accessibleName(), "Aceptar");
    EXPECT_EQ(find("Toolbar1.Button3")->accessibleName(), "Cancelar");
    EXPECT_EQ(find("Toolbar2.Button1")->accessibleName(), "Seleccione el destino de la información");
    EXPECT_EQ(find("Label3")->accessibleName(), "Estado del respaldo");
    EXPECT_EQ(find("ProgressBar")->accessibleName(), "Progreso del respaldo");
}

TEST_F(WindowTest, NoCaptionIsClipped) {
    for (QLabel* label : view.findChildren<QLabel*>()) {
        if (label->text().isEmpty()) continue;
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->objectName().toStdString();
        EXPECT_GE(label->height(), label->sizeHint().height()) << label->objectName().toStdString();
    }
    for (QToolButton* button : view.findChildren<QToolButton*>()) {
        // Image, spacing and caption inside the button's frame.
        const QString caption = button->text();
        const int needed =
            button->iconSize().width() + (caption.isEmpty() ? 0 : 4 + button->fontMetrics().horizontalAdvance(caption));
        EXPECT_LE(needed + 6, button->width()) << button->objectName().toStdString();
        EXPECT_LE(button->mapTo(&view, QPoint(button->width(), 0)).x(), view.width());
    }
    auto* check = find<QCheckBox>("Check1");
    EXPECT_GE(check->width(), check->sizeHint().width());
    EXPECT_GE(check->height(), check->fontMetrics().height());
}

// The mean width of the strokes of what a widget draws, in pixels: the
// runs of dark pixels along each row.
double strokeWidth(QWidget& widget) {
    const QImage image = widget.grab().toImage();
    long pixels = 0, runs = 0;
    for (int y = 0; y < image.height(); ++y) {
        bool inRun = false;
        for (int x = 0; x < image.width(); ++x) {
            const bool dark = qGray(image.pixel(x, y)) < 128;
            pixels += dark ? 1 : 0;
            runs += dark && !inRun ? 1 : 0;
            inRun = dark;
        }
    }
    return runs == 0 ? 0 : static_cast<double>(pixels) / static_cast<double>(runs);
}

// The banner title and the status line are drawn bold, not only said to be.
TEST_F(WindowTest, TheBoldCaptionsAreDrawnBold) {
    view.setCaption(Control::Label3, "Proceso 1 de 5: Creando respaldo principal...");
    const double regular = strokeWidth(*find("Label1(0)"));
    EXPECT_GT(strokeWidth(*find("Label2")), 1.2 * regular);
    EXPECT_GT(strokeWidth(*find("Label3")), 1.2 * regular);
}

TEST_F(WindowTest, TabWalksTheControlsInTheirOrder) {
    // Each toolbar is one stop.
    const std::vector<const char*> order = {"Text2", "Toolbar1", "Toolbar2", "Check1", "Text1"};
    for (const char* next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), next);
        // Tabbing into the name selects the preset whole, so typing replaces it.
        if (std::string(next) == "Text2") {
            EXPECT_EQ(text2()->selectedText(), "Respaldo (07-12-2026)");
        }
    }
}

TEST_F(WindowTest, EnterMovesToTheNextControlAndTabbingSelectsTheName) {
    QTest::keyClick(text1(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), text2());
    EXPECT_EQ(text2()->selectedText(), "Respaldo (07-12-2026)");
}

TEST_F(WindowTest, AccessKeysMoveTheFocusAndToggleTheOption) {
    QTest::keyClick(&view, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), text2());
    QTest::keyClick(&view, Qt::Key_U, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), text1());
    QTest::keyClick(&view, Qt::Key_C, Qt::AltModifier);
    // The check box answers its access key with an animated click.
    auto* check = find<QCheckBox>("Check1");
    EXPECT_TRUE(QTest::qWaitFor([check] { return !check->isChecked(); }, 2000));
}

TEST_F(WindowTest, TheNameFieldRefusesTypedCharactersWithTheWarning) {
    text2()->setFocus();
    text2()->clear();
    QTest::keyClicks(text2(), "a\"*./:<>?\\|-(b");
    EXPECT_EQ(text2()->text(), "a-(b");
    EXPECT_EQ(dialogs.boxes.size(), 10u);
    // The location field has no filter.
    QTest::keyClicks(text1(), "/srv:1");
    EXPECT_EQ(text1()->text(), "/srv:1");
}

// A toolbar is one stop: arriving marks its first button, the arrows move
// the mark, and Enter presses the marked button without moving on.
TEST_F(WindowTest, TheToolbarsWorkFromTheKeyboard) {
    text2()->setFocus();
    QTest::keyClick(text2(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), find("Toolbar1"));
    EXPECT_EQ(view.markedButton(), (ToolbarButton{Toolbar::Toolbar1, 1}));
    QTest::keyClick(find("Toolbar1"), Qt::Key_Right);
    EXPECT_EQ(view.markedButton(), (ToolbarButton{Toolbar::Toolbar1, 3}));
    QTest::keyClick(find("Toolbar1"), Qt::Key_Right);
    EXPECT_EQ(view.markedButton(), (ToolbarButton{Toolbar::Toolbar1, 3})) << "no button further right";
    QTest::keyClick(find("Toolbar1"), Qt::Key_Left);
    EXPECT_EQ(view.markedButton(), (ToolbarButton{Toolbar::Toolbar1, 1}));

    // Enter on "Aceptar" with the location empty: its box, then the location.
    QTest::keyClick(find("Toolbar1"), Qt::Key_Return);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Hace falta suministrar la información de 'Ubicación'. Por favor proporciónela");
    EXPECT_EQ(QApplication::focusWidget(), text1());

    find("Toolbar1")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(find("Toolbar1"), Qt::Key_Right);
    QTest::keyClick(find("Toolbar1"), Qt::Key_Space);  // "Cancelar"
    EXPECT_FALSE(view.isVisible());
}

// The focus a box gives back as it closes, or the desktop as it activates
// the window again, is no move: the caret and the text stay as they were.
TEST_F(WindowTest, AFieldTheFocusComesBackToKeepsItsCaret) {
    text2()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(text2()->selectedText(), "Respaldo (07-12-2026)");
    text2()->setCursorPosition(4);
    text1()->setFocus(Qt::OtherFocusReason);
    text2()->setFocus(Qt::ActiveWindowFocusReason);
    EXPECT_EQ(text2()->selectedText(), "");
    EXPECT_EQ(text2()->cursorPosition(), 4);
}

TEST_F(WindowTest, EscapeAndCancelCloseTheWindow) {
    QTest::keyClick(text2(), Qt::Key_Escape);
    EXPECT_FALSE(view.isVisible());
    view.showCentred();
    find<QToolButton>("Toolbar1.Button3")->click();
    EXPECT_FALSE(view.isVisible());
}

TEST_F(WindowTest, EscapeDuringABackupAsksWhetherToStopIt) {
    writeFile(folder / "Quvetra/QVT Datos.mdb", randomBytes(24 << 20, 5));
    text1()->setText(QString::fromStdString((folder / "Copias").string()));
    bool visibleAtResult = false;
    dialogs.answers = {box::kAnswerNo};
    dialogs.whileShown = [&](const ScriptedDialogs::Box&) { visibleAtResult = view.isVisible(); };
    // Delivered while the copy lets the window process its events.
    QCoreApplication::postEvent(text1(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    find<QToolButton>("Toolbar1.Button1")->click();
    // Answered No: the copy goes on.
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].text, "¿Desea detener el respaldo?");
    EXPECT_EQ(dialogs.boxes[1].text, "La operación ha sido realizada en completo éxito");
    EXPECT_TRUE(visibleAtResult);
    EXPECT_FALSE(view.isVisible());
    EXPECT_EQ(find<QLabel>("Label3")->text(), "Procesos completos");
    EXPECT_TRUE(fs::exists(folder / "Copias/Respaldo (07-12-2026).qvtdb"));
}

}  // namespace
}  // namespace ruror::test

namespace ruror::test {
namespace {

TEST_F(WindowTest, ProgressIsPaintedAtMostAboutThirtyTimesASecond) {
    auto* bar = find<QProgressBar>("ProgressBar");
    int paints = 0;
    QObject::connect(bar, &QProgressBar::valueChanged, [&](int) { ++paints; });
    QElapsedTimer clock;
    clock.start();
    // Each report a new share of the bar, so that each one painted shows.
    constexpr long long kStep = 1'000'000'000;
    long long reports = 0;
    while (clock.elapsed() < 200) view.setProgress((++reports % 999 + 1) * kStep, 1000 * kStep);
    const qint64 elapsed = clock.elapsed();
    EXPECT_GT(reports, 100) << "too few reports to tell";
    EXPECT_GE(paints, 2);
    // Measured rather than assumed: a busy machine may stretch the loop.
    EXPECT_LE(paints, elapsed / 33 + 2) << "over " << elapsed << " ms";
    // The end of a file or stage is always shown.
    view.setProgress(1000 * kStep, 1000 * kStep);
    EXPECT_EQ(bar->value(), 1000);
    // Its figures, under it and whole inside the window, until the copy ends.
    auto* figures = find<QLabel>("ProgressFigures");
    view.setProgressFigures("100 % · 1,0 GB de 1,0 GB");
    EXPECT_TRUE(figures->isVisibleTo(&view));
    EXPECT_GE(figures->y(), bar->geometry().bottom());
    EXPECT_LE(figures->geometry().bottom(), view.height());
    EXPECT_GE(figures->width(), figures->sizeHint().width());
    view.setProgressFigures("");
    EXPECT_FALSE(figures->isVisibleTo(&view));
}

TEST_F(WindowTest, TheBusyPointerShowsOverTheMainWindowOnly) {
    writeFile(folder / "Quvetra/QVT Datos.mdb", "base");
    text1()->setText(QString::fromStdString((folder / "Copias").string()));
    bool overrideAtResult = true;
    Qt::CursorShape windowPointer{}, fieldPointer{};
    dialogs.whileShown = [&](const ScriptedDialogs::Box&) {
        overrideAtResult = QApplication::overrideCursor() != nullptr;
        windowPointer = view.cursor().shape();
        fieldPointer = text1()->cursor().shape();
    };
    find<QToolButton>("Toolbar1.Button1")->click();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_FALSE(overrideAtResult) << "the busy pointer would show over the box too";
    EXPECT_EQ(windowPointer, Qt::WaitCursor);
    EXPECT_EQ(fieldPointer, Qt::WaitCursor);
    EXPECT_EQ(text1()->cursor().shape(), Qt::IBeamCursor);
    EXPECT_EQ(view.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(WindowTest, FocusSelectsAWholeNameThatHoldsAnEmoji) {
    text2()->setText("Respaldo 😀 de hoy");
    text1()->setFocus();
    QTest::keyClick(text1(), Qt::Key_Tab);
    ASSERT_TRUE(text2()->hasFocus());
    EXPECT_EQ(text2()->selectedText(), "Respaldo 😀 de hoy");
}

TEST_F(WindowTest, TheWindowIconHoldsTheImagesOfEverySize) {
    const QList<QSize> sizes = view.windowIcon().availableSizes();
    for (const int size : {16, 32, 48}) EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
}

TEST_F(WindowTest, TheProgressBarAdvancesDuringTheCopy) {
    writeFile(folder / "Quvetra/QVT Datos.mdb", randomBytes(24 << 20, 6));
    for (int i = 0; i < 5; ++i) writeFile(folder / "Quvetra/QVT Datos/Archivo" / std::to_string(i), "documento");
    text1()->setText(QString::fromStdString((folder / "Copias").string()));
    auto* bar = find<QProgressBar>("ProgressBar");
    std::vector<int> values;
    bool shownWhileCopying = false;
    QObject::connect(bar, &QProgressBar::valueChanged, [&](int value) {
        values.push_back(value);
        shownWhileCopying = shownWhileCopying || bar->isVisible();
    });
    find<QToolButton>("Toolbar1.Button1")->click();

    EXPECT_TRUE(shownWhileCopying);
    EXPECT_NE(std::find(values.begin(), values.end(), 1000), values.end());
    EXPECT_FALSE(bar->isVisible());
}

}  // namespace
}  // namespace ruror::test
