#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace ruror::qt {

// "Buscar carpeta": the prompt above a tree of folders only, starting at
// the top (the file system's root, the user's folder and the mounted
// drives), an edit box with the chosen path, and buttons to make a new
// folder, accept and cancel. It reads and writes no settings, so nothing
// of one run is left for the next.
class FolderBrowser final : public QDialog {
public:
    FolderBrowser(QWidget& owner, const QString& prompt);

    // The chosen folder once accepted.
    QString chosenFolder() const;

protected:
    void accept() override;

private:
    void addTopLevel(const QString& caption, const QString& path);
    void addDrives();
    void fillChildren(QTreeWidgetItem& item);
    void followSelection();
    void makeNewFolder();

    QLineEdit* path_ = nullptr;
    QTreeWidget* tree_ = nullptr;
};

}  // namespace ruror::qt
