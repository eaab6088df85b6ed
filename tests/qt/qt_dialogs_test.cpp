#include "platform/qt/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "tests/support/temp_folder.h"

namespace ruror::test {
namespace {

// Runs the action on the next modal dialog once it is shown.
void onModal(std::function<void(QWidget*)> action) {
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
    EXPECT_EQ(buttons, (QStringList{"No", "Sí"}));
    EXPECT_EQ(defaultButton, "Sí");
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

TEST_F(QtDialogsTest, TheFolderChooserShowsThePromptAndReturnsTheChosenFolder) {
    TempFolder folder;
    const std::filesystem::path chosen = folder / "Copias";
    std::filesystem::create_directory(chosen);
    QString prompt, acceptLabel;
    onModal([&](QWidget* modal) {
        prompt = modal->findChild<QLabel*>("FolderPrompt")->text();
        auto* files = modal->findChild<QFileDialog*>();
        ASSERT_NE(files, nullptr);
        EXPECT_TRUE(files->testOption(QFileDialog::ShowDirsOnly));
        acceptLabel = files->labelText(QFileDialog::Accept);
        files->setDirectory(QString::fromStdString(folder.path().string()));
        files->selectFile(QString::fromStdString(chosen.string()));
        for (QPushButton* button : files->findChildren<QPushButton*>())
            if (button->text() == "Aceptar") button->click();
    });
    EXPECT_EQ(dialogs.chooseFolder("Respaldo de seguridad\r\n\r\nSeleccione la ubicación."), chosen.string());
    EXPECT_EQ(prompt, "Respaldo de seguridad\n\nSeleccione la ubicación.");
    EXPECT_EQ(acceptLabel, "Aceptar");

    onModal([](QWidget* modal) { QTest::keyClick(modal->findChild<QFileDialog*>(), Qt::Key_Escape); });
    EXPECT_EQ(dialogs.chooseFolder("Respaldo"), "");
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
