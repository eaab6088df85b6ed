#include "main_window/backup_path_check.h"

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "backup/data_centre_layout.h"
#include "core/path_text.h"
#include "main_window/windows_names.h"

namespace ruror {
namespace {

// The longest file name and path the usual file systems take: on Linux in
// bytes, on Windows (NTFS, exFAT, FAT's long names) in UTF-16 units.
constexpr std::size_t kNameMax = 255;
constexpr std::size_t kPathMax = 4095;

std::size_t nameLength(const std::string& fileName) {
#ifdef _WIN32
    return pathFromText(fileName).wstring().size();
#else
    return fileName.size();
#endif
}

bool hasControlCharacter(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

#ifdef _WIN32
// Characters no Windows path holds; a colon only after the drive letter.
bool hasCharacterWindowsRefuses(const std::string& location) {
    for (std::size_t i = 0; i < location.size(); ++i) {
        const char c = location[i];
        if (std::string_view("*?<>|\"").find(c) != std::string_view::npos) return true;
        if (c == ':' && i != 1) return true;
    }
    return false;
}

// A folder named only with dots and spaces (other than "." and ".."), which
// Windows cannot name: dropped as such a name is, the path would lead
// somewhere else.
bool hasNamelessFolder(const std::string& location) {
    std::size_t start = 0;
    while (start <= location.size()) {
        std::size_t end = location.find_first_of("\\/", start);
        if (end == std::string::npos) end = location.size();
        const std::string part = location.substr(start, end - start);
        if (!part.empty() && part != "." && part != ".." && part.find_first_not_of(". ") == std::string::npos)
            return true;
        start = end + 1;
    }
    return false;
}
#endif

}  // namespace

std::optional<BadBackupPath> checkBackupPath(const Location& location, const std::string& trimmedName) {
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    const std::string fileName = trimmedName + layout::kBackupExtension;
    const std::string path = textFromPath(layout::backupFile(location.folder(), trimmedName));
    const std::string& typed = location.typed();
    auto bad = [&](Control field, const char* reason) { return BadBackupPath{field, path, reason}; };

    if (hasControlCharacter(typed)) return bad(Control::Text1, "La ubicación contiene caracteres de control.");
    if (!location.folder().is_absolute())
        return bad(Control::Text1, "La ubicación debe ser una ruta completa, desde la raíz del disco.");
#ifdef _WIN32
    if (hasCharacterWindowsRefuses(typed))
        return bad(Control::Text1,
                   "La ubicación contiene caracteres que Windows no admite en una ruta: * ? < > | \" :");
    if (hasNamelessFolder(typed))
        return bad(Control::Text1, "La ubicación contiene una carpeta cuyo nombre son solo puntos o espacios.");
#endif
    if (hasControlCharacter(trimmedName)) return bad(Control::Text2, "El nombre contiene caracteres de control.");
    if (trimmedName.find(separator) != std::string::npos)
        return bad(Control::Text2, "El nombre no puede contener el separador de carpetas.");
    if (trimmedName.front() == '.')
        return bad(Control::Text2, "El nombre no puede empezar por un punto: el respaldo quedaría oculto.");
    if (nameLength(fileName) > kNameMax) return bad(Control::Text2, "El nombre es demasiado largo.");
    // On every platform: a backup goes to sticks and shares that Windows
    // reads. A name ending in a dot or a space, which Windows would change,
    // cannot reach here: the full stop is refused and the name is trimmed.
    if (isReservedWindowsName(fileName))
        return bad(Control::Text2, "Windows reserva ese nombre para un dispositivo: el respaldo no se guardaría.");
    if (path.size() > kPathMax) return bad(Control::Text1, "La ubicación es demasiado larga.");
    return std::nullopt;
}

std::string badBackupPathMessage(const BadBackupPath& bad) {
    return "La ruta del respaldo no es válida:\r\n\r\n'" + bad.path + "'\r\n\r\n" + bad.reason;
}

}  // namespace ruror
