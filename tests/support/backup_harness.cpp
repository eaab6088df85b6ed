#include "tests/support/backup_harness.h"

#include "core/path_text.h"

namespace ruror::test {

BackupHarness::BackupHarness()
    : files(root_ / "Quvetra"), clock(Date{2026, 12, 7}), principal(window, dialogs, files, clock) {
    std::filesystem::create_directories(program());
    std::filesystem::create_directories(destination());
    window.cancelClose = [this] {
        bool cancel = false;
        principal.unload(cancel);
        return cancel;
    };
}

std::string BackupHarness::addDatabase(const std::string& extension, std::size_t size, unsigned variant) {
    std::string content = randomBytes(size, variant);
    writeFile(program() / ("QVT Datos" + extension), content);
    return content;
}

void BackupHarness::addDataCentre() {
    const std::filesystem::path centre = program() / "QVT Datos";
    auto add = [&](const std::string& relative, const std::string& content) {
        writeFile(centre / pathFromText(relative), content);
        dataCentre_[relative] = content;
    };
    add("Índice general.doc", "índice");
    add("notas.txt", "notas");
    add("Archivo/contrato 2026.pdf", randomBytes(70'000, 7));
    add("Archivo/recibo.pdf", "recibo");
    add("Plantillas/carta.dot", "carta");
    add("Referencias/ref.xls", "ref");
    writeFile(centre / ".oculto", "no se copia");
}

void BackupHarness::addFoldersLeftOut() {
    const std::filesystem::path centre = program() / "QVT Datos";
    writeFile(centre / "Otros/otro.txt", "no se copia");
    writeFile(centre / "Otros/más/dentro.txt", "no se copia");
    writeFile(centre / "Archivo/2025/viejo.pdf", "no se copia");
    std::filesystem::create_directories(centre / "Plantillas/vacía");
}

std::map<std::string, std::string> BackupHarness::expectedTree() const {
    std::map<std::string, std::string> tree;
    for (const auto& [relative, content] : dataCentre_) tree[relative] = content;
    for (const char* folder : {"Archivo", "Plantillas", "Referencias"}) tree[folder] = "<dir>";
    return tree;
}

void BackupHarness::load() { principal.load(); }

void BackupHarness::accept(const std::string& location, const std::string& name) {
    window.setText(Control::Text1, location);
    window.setText(Control::Text2, name);
    principal.toolbar1ButtonClick("Aceptar");
}

}  // namespace ruror::test
