#include "ui/qt/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "tests/support/temp_folder.h"

namespace ruror::test {
namespace {

// Runs the action on the next modal dialog once it is shown.
void onModal(const std::function<void(QWidget*)>& action) {
    QTimer::singleShot(10, [action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) return onModal(action);
        action(modal);
    });
}

QStringList buttonTexts(QMessageBox* box) {
    QStringList texts;
    for (QAbstractButton* button : box->buttons()) texts << button->text();
    texts.sort();
    return texts;
}

class QtDialogsTest : public ::testing::Test {
protected:
    QWidget owner;
    qt::QtDialogs dialogs{owner};
};

TEST_F(QtDialogsTest, TheQuestionSpeaksSpanishAndEnterAnswersYes) {
    QString title, text, defaultButton;
    QStringList buttons;
    QMessageBox::Icon icon{};
    onModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = buttonTexts(box);
        defaultButton = box->defaultButton()->text();
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.messageBox("¿Desea sobreescribir?\r\nSegunda línea", 36), 6);
    EXPECT_EQ(title, "RUROR");
    EXPECT_EQ(text, "¿Desea sobreescribir?\nSegunda línea");
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(buttons, (QStringList{"&No", "&Sí"}));
    EXPECT_EQ(defaultButton, "&Sí");
}

TEST_F(QtDialogsTest, EscapeAnswersNoAndAnOkBoxKeepsItsTitle) {
    onModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    EXPECT_EQ(dialogs.messageBox("¿Seguro?", 36), 7);

    QString title;
    QStringList buttons;
    onModal([&](QWidget* modal) {
        title = modal->windowTitle();
        buttons = buttonTexts(qobject_cast<QMessageBox*>(modal));
        QTest::keyClick(modal, Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.messageBox("Número: 2", 0, "Ha ocurrido un error"), 1);
    EXPECT_EQ(title, "Ha ocurrido un error");
    EXPECT_EQ(buttons, QStringList{"Aceptar"});
}

TEST_F(QtDialogsTest, ALongPathWrapsInsideTheBox) {
    const std::string path = "/srv/" + std::string(40, 'a') + "/" + std::string(40, 'b') + "/" + std::string(40, 'c') +
                             "/" + std::string(40, 'd') + "/Lunes.qvtdb";
    int labelWidth = 0, labelHeight = 0;
    onModal([&](QWidget* modal) {
        const auto* label = modal->findChild<QLabel*>("qt_msgbox_label");
        ASSERT_NE(label, nullptr);
        labelWidth = label->width();
        labelHeight = label->height();
        QTest::keyClick(modal, Qt::Key_Return);
    });
    dialogs.messageBox("La ruta del respaldo no es válida:\r\n\r\n'" + path + "'", 48);
    const int lineHeight = QFontMetrics(QApplication::font()).height();
    EXPECT_LT(labelWidth, QFontMetrics(QApplication::font()).horizontalAdvance(QString::fromStdString(path)));
    EXPECT_GE(labelHeight, 4 * lineHeight);

    // A name of 260 characters without a space or a separator wraps too.
    const std::string name = std::string(260, 'x');
    onModal([&](QWidget* modal) {
        labelWidth = modal->findChild<QLabel*>("qt_msgbox_label")->width();
        QTest::keyClick(modal, Qt::Key_Return);
    });
    dialogs.messageBox("La ruta del respaldo no es válida:\r\n\r\n'/srv/" + name + ".qvtdb'", 48);
    EXPECT_LT(labelWidth, QFontMetrics(QApplication::font()).horizontalAdvance(QString::fromStdString(name)) / 3);
}

// The folder browser on a home folder of its own, so the test can tell
// that nothing is written there.
class FolderBrowserTest : public QtDialogsTest {
protected:
    FolderBrowserTest() { std::filesystem::create_directories(home() / "Documentos"); }
    ~FolderBrowserTest() override { std::filesystem::remove_all(home() / "Documentos"); }
    std::filesystem::path home() const { return std::filesystem::path(QDir::homePath().toStdString()); }

    // The item of the tree that shows a folder, opening its parents on the way.
    static QTreeWidgetItem* itemOf(QTreeWidget& tree, const QString& path) {
        for (int i = 0; i < tree.topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = tree.topLevelItem(i);
            const QString top = item->data(0, Qt::UserRole).toString();
            if (!path.startsWith(top)) continue;
            for (const QString& name : path.mid(top.size()).split('/', Qt::SkipEmptyParts)) {
                item->setExpanded(true);
                QTreeWidgetItem* next = nullptr;
                for (int c = 0; c < item->childCount(); ++c)
                    if (item->child(c)->text(0) == name) next = item->child(c);
                if (!next) return nullptr;
                item = next;
            }
            return item;
        }
        return nullptr;
    }
};

TEST_F(FolderBrowserTest, StartsAtTheTopAndReturnsTheFolderChosenInTheTree) {
    QString title, prompt;
    QStringList topLevel, buttons;
    onModal([&](QWidget* modal) {
        title = modal->windowTitle();
        prompt = modal->findChild<QLabel*>("FolderPrompt")->text();
        auto* tree = modal->findChild<QTreeWidget*>("FolderTree");
        for (int i = 0; i < tree->topLevelItemCount(); ++i) topLevel << tree->topLevelItem(i)->text(0);
        for (QPushButton* button : modal->findChildren<QPushButton*>()) buttons << button->text();
        buttons.sort();
        QTreeWidgetItem* documents = itemOf(*tree, QDir::homePath() + "/Documentos");
        ASSERT_NE(documents, nullptr);
        tree->setCurrentItem(documents);
        QTest::keyClick(modal->findChild<QLineEdit*>("FolderPath"), Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.chooseFolder("Respaldo de seguridad\r\n\r\nSeleccione la ubicación."),
              (home() / "Documentos").string());
    EXPECT_EQ(title, "Buscar carpeta");
    EXPECT_EQ(prompt, "Respaldo de seguridad\n\nSeleccione la ubicación.");
    ASSERT_GE(topLevel.size(), 2);
    EXPECT_EQ(topLevel[0], "Sistema de archivos (/)");
    EXPECT_EQ(topLevel[1], "Carpeta personal (" + QDir::homePath() + ")");
    EXPECT_EQ(buttons, (QStringList{"&Nueva carpeta", "Aceptar", "Cancelar"}));
}

TEST_F(FolderBrowserTest, ATypedPathIsTakenAndOneThatIsNoFolderIsRefused) {
    TempFolder folder;
    QString warning;
    onModal([&](QWidget* modal) {
        auto* path = modal->findChild<QLineEdit*>("FolderPath");
        EXPECT_EQ(modal->focusWidget(), path) << "the path box should take the typing first";
        QTest::keyClicks(path, QString::fromStdString((folder / "no existe").string()));
        onModal([&](QWidget* box) {
            warning = qobject_cast<QMessageBox*>(box)->text();
            QTest::keyClick(box, Qt::Key_Return);
            path->setText(QString::fromStdString(folder.path().string()) + "/");
            QTest::keyClick(path, Qt::Key_Return);
        });
        QTest::keyClick(path, Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.chooseFolder("Respaldo"), folder.path().string());
    EXPECT_TRUE(warning.startsWith("La carpeta '")) << warning.toStdString();

    onModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    EXPECT_EQ(dialogs.chooseFolder("Respaldo"), "");
}

// A folder whose name ends in a space is chosen as it is typed, never the
// one of the same name without it.
TEST_F(FolderBrowserTest, ATypedPathIsNotTrimmed) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "Copias");
    std::filesystem::create_directory(folder / "Copias ");
    onModal([&](QWidget* modal) {
        auto* path = modal->findChild<QLineEdit*>("FolderPath");
        path->setText(QString::fromStdString((folder / "Copias ").string()));
        QTest::keyClick(path, Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.chooseFolder("Respaldo"), (folder / "Copias ").string());
}

TEST_F(FolderBrowserTest, NuevaCarpetaMakesAFolderInsideTheChosenOne) {
    onModal([&](QWidget* modal) {
        auto* tree = modal->findChild<QTreeWidget*>("FolderTree");
        tree->setCurrentItem(itemOf(*tree, QDir::homePath() + "/Documentos"));
        onModal([](QWidget* ask) {
            auto* name = ask->findChild<QLineEdit*>();
            name->setText("Copias de enero");
            QTest::keyClick(name, Qt::Key_Return);
        });
        modal->findChild<QPushButton*>("NewFolder")->click();
        QTest::keyClick(modal->findChild<QLineEdit*>("FolderPath"), Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.chooseFolder("Respaldo"), (home() / "Documentos/Copias de enero").string());
    EXPECT_TRUE(std::filesystem::is_directory(home() / "Documentos/Copias de enero"));
    std::filesystem::remove(home() / "Documentos/Copias de enero");
}

TEST(QtTexts, QtsOwnTextsAreSpanishWhereTheSystemHasTheTranslation) {
    const QString translations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFile::exists(translations + "/qtbase_es.qm"))
        GTEST_SKIP() << "Qt's Spanish translation is not installed (Debian: qt6-translations-l10n)";
    // The text fields' context menu and the folder chooser speak Spanish.
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Undo").toStdString(), "&Deshacer");
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "New Folder").toStdString(), "Nueva carpeta");
}

}  // namespace
}  // namespace ruror::test
