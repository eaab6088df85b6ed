#include "platform/qt/folder_chooser.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QVBoxLayout>

namespace ruror::qt {

QString chooseFolderIn(QWidget& owner, const QString& prompt) {
    QDialog dialog(&owner);
    dialog.setObjectName("FolderChooser");
    dialog.setWindowTitle("Buscar carpeta");
    auto* layout = new QVBoxLayout(&dialog);

    auto* promptLabel = new QLabel(prompt, &dialog);
    promptLabel->setObjectName("FolderPrompt");
    promptLabel->setTextFormat(Qt::PlainText);
    layout->addWidget(promptLabel);

    // Qt's own chooser, shown inside this dialog so the prompt stands above it.
    auto* files = new QFileDialog(&dialog, QString(), QDir::homePath());
    files->setWindowFlags(Qt::Widget);
    files->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::ShowDirsOnly);
    files->setFileMode(QFileDialog::Directory);
    files->setLabelText(QFileDialog::LookIn, "Buscar en:");
    files->setLabelText(QFileDialog::FileName, "Carpeta:");
    files->setLabelText(QFileDialog::FileType, "Tipo:");
    files->setLabelText(QFileDialog::Accept, "Aceptar");
    files->setLabelText(QFileDialog::Reject, "Cancelar");
    layout->addWidget(files);
    QObject::connect(files, &QFileDialog::accepted, &dialog, &QDialog::accept);
    QObject::connect(files, &QFileDialog::rejected, &dialog, &QDialog::reject);

    const bool chosen = dialog.exec() == QDialog::Accepted;
    // The keyboard goes back to the window, also where no window manager does it.
    owner.activateWindow();
    if (!chosen) return {};
    const QStringList selected = files->selectedFiles();
    return selected.isEmpty() ? QString() : QDir::toNativeSeparators(selected.first());
}

}  // namespace ruror::qt
