#include "ui/qt/folder_browser.h"

#include <QApplication>
#include <QCollator>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace ruror::qt {
namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kFilledRole = Qt::UserRole + 1;

// The folders directly inside a folder, hidden ones left out, in the order
// a person reads them.
QStringList subFolders(const QString& path) {
    QStringList names = QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCollator collator(QLocale(QLocale::Spanish, QLocale::Spain));
    collator.setNumericMode(true);
    std::sort(names.begin(), names.end(), collator);
    return names;
}

// Where removable drives and other file systems are mounted, by desktop or by hand.
QStringList driveFolders() {
    QStringList drives;
    const QString user = qEnvironmentVariable("USER");
    for (const QString& place :
         {QString("/media"), QString("/media/") + user, QString("/mnt"), QString("/run/media/") + user}) {
        for (const QString& name : subFolders(place)) {
            const QString drive = place + "/" + name;
            if (name != user && !drives.contains(drive)) drives << drive;
        }
    }
    return drives;
}

void warn(QWidget& owner, const QString& text) {
    QMessageBox box(QMessageBox::Warning, "Buscar carpeta", text, QMessageBox::NoButton, &owner);
    box.addButton("Aceptar", QMessageBox::AcceptRole);
    box.exec();
}

}  // namespace

FolderBrowser::FolderBrowser(QWidget& owner, const QString& prompt) : QDialog(&owner) {
    setObjectName("FolderChooser");
    setWindowTitle("Buscar carpeta");
    auto* layout = new QVBoxLayout(this);

    auto* promptLabel = new QLabel(prompt, this);
    promptLabel->setObjectName("FolderPrompt");
    promptLabel->setTextFormat(Qt::PlainText);
    promptLabel->setWordWrap(true);
    layout->addWidget(promptLabel);

    tree_ = new QTreeWidget(this);
    tree_->setObjectName("FolderTree");
    tree_->setHeaderHidden(true);
    tree_->setAccessibleName("Carpetas");
    tree_->setMinimumSize(360, 280);
    layout->addWidget(tree_, 1);
    addTopLevel("Sistema de archivos (/)", "/");
    addTopLevel("Carpeta personal (" + QDir::homePath() + ")", QDir::homePath());
    addDrives();
    connect(tree_, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { fillChildren(*item); });
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this] { followSelection(); });

    auto* pathRow = new QHBoxLayout;
    auto* pathLabel = new QLabel("&Carpeta:", this);
    path_ = new QLineEdit(this);
    path_->setObjectName("FolderPath");
    pathLabel->setBuddy(path_);
    pathRow->addWidget(pathLabel);
    pathRow->addWidget(path_, 1);
    layout->addLayout(pathRow);

    // As on the platform's own browser: the new folder on the left, the
    // answers on the right.
    auto* buttonRow = new QHBoxLayout;
    auto* newFolder = new QPushButton("&Nueva carpeta", this);
    newFolder->setObjectName("NewFolder");
    newFolder->setAutoDefault(false);
    auto* buttons = new QDialogButtonBox(this);
    auto* acceptButton = buttons->addButton("Aceptar", QDialogButtonBox::AcceptRole);
    acceptButton->setDefault(true);
    buttons->addButton("Cancelar", QDialogButtonBox::RejectRole);
    buttonRow->addWidget(newFolder);
    buttonRow->addStretch(1);
    buttonRow->addWidget(buttons);
    layout->addLayout(buttonRow);
    connect(newFolder, &QPushButton::clicked, this, [this] { makeNewFolder(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // Typing a path is the quickest way; the tree is one Shift+Tab away.
    path_->setFocus(Qt::OtherFocusReason);
}

// As typed: a folder's name may end in a space, and the location is never
// trimmed either.
QString FolderBrowser::chosenFolder() const { return QDir::cleanPath(path_->text()); }

void FolderBrowser::accept() {
    const QString chosen = chosenFolder();
    if (chosen.isEmpty() || !QDir::isAbsolutePath(chosen) || !QFileInfo(chosen).isDir()) {
        warn(*this, "La carpeta '" + path_->text() +
                        "' no existe. Elija una carpeta de la lista o escriba su ruta "
                        "completa.");
        path_->setFocus(Qt::OtherFocusReason);
        return;
    }
    QDialog::accept();
}

void FolderBrowser::addTopLevel(const QString& caption, const QString& path) {
    auto* item = new QTreeWidgetItem(tree_, {caption});
    item->setData(0, kPathRole, path);
    item->setIcon(0, style()->standardIcon(path == "/" ? QStyle::SP_DriveHDIcon : QStyle::SP_DirHomeIcon));
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
}

void FolderBrowser::addDrives() {
    for (const QString& drive : driveFolders()) {
        auto* item = new QTreeWidgetItem(tree_, {QFileInfo(drive).fileName() + " (" + drive + ")"});
        item->setData(0, kPathRole, drive);
        item->setIcon(0, style()->standardIcon(QStyle::SP_DriveHDIcon));
        item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
}

// A folder's sub-folders are read when it is first opened, so that a large
// disk costs nothing until the user goes into it.
void FolderBrowser::fillChildren(QTreeWidgetItem& item) {
    if (item.data(0, kFilledRole).toBool()) return;
    item.setData(0, kFilledRole, true);
    const QString path = item.data(0, kPathRole).toString();
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
    for (const QString& name : subFolders(path)) {
        auto* child = new QTreeWidgetItem(&item, {name});
        child->setData(0, kPathRole, QDir(path).filePath(name));
        child->setIcon(0, folderIcon);
        child->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    if (item.childCount() == 0) item.setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
}

void FolderBrowser::followSelection() {
    if (const QTreeWidgetItem* item = tree_->currentItem()) path_->setText(item->data(0, kPathRole).toString());
}

void FolderBrowser::makeNewFolder() {
    QTreeWidgetItem* parent = tree_->currentItem();
    if (!parent) {
        warn(*this, "Elija primero en la lista la carpeta donde crear la nueva.");
        return;
    }
    QInputDialog ask(this);
    ask.setWindowTitle("Nueva carpeta");
    ask.setLabelText("Nombre de la nueva carpeta:");
    ask.setTextValue("Nueva carpeta");
    ask.setOkButtonText("Aceptar");
    ask.setCancelButtonText("Cancelar");
    if (ask.exec() != QDialog::Accepted) return;
    const QString name = ask.textValue().trimmed();
    const QString parentPath = parent->data(0, kPathRole).toString();
    const bool listed = parent->data(0, kFilledRole).toBool();
    if (name.isEmpty() || name.contains('/') || name == "." || name == ".." || !QDir(parentPath).mkdir(name)) {
        warn(*this, "No se pudo crear la carpeta '" + name + "' en '" + parentPath + "'.");
        return;
    }
    const QString made = QDir(parentPath).filePath(name);
    if (listed) {
        auto* child = new QTreeWidgetItem(parent, {name});
        child->setData(0, kPathRole, made);
        child->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
    } else {
        fillChildren(*parent);
    }
    parent->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    parent->setExpanded(true);
    for (int i = 0; i < parent->childCount(); ++i)
        if (parent->child(i)->data(0, kPathRole).toString() == made) tree_->setCurrentItem(parent->child(i));
}

}  // namespace ruror::qt
