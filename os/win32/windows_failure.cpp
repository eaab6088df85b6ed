#include "os/win32/windows_failure.h"

#include <utility>

#include "os/win32/reparse_links.h"
#include "os/win32/wide_text.h"

namespace ruror::win32 {
namespace {

const char* ownText(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND: return "No se encuentra el archivo";
        case ERROR_PATH_NOT_FOUND: return "No se encuentra la ruta";
        case ERROR_ACCESS_DENIED: return "Acceso denegado";
        case ERROR_SHARING_VIOLATION: return "Otro programa está usando el archivo";
        case ERROR_LOCK_VIOLATION: return "Otro programa ha bloqueado una parte del archivo";
        case ERROR_HANDLE_DISK_FULL:
        case ERROR_DISK_FULL: return "No queda espacio en el disco";
        case ERROR_WRITE_PROTECT: return "El disco está protegido contra escritura";
        case ERROR_NOT_READY: return "La unidad no está preparada";
        case ERROR_BAD_NETPATH: return "No se encuentra la ruta de red";
        case ERROR_NETNAME_DELETED: return "El nombre de red ya no está disponible";
        case ERROR_UNEXP_NET_ERR: return "Error inesperado de la red";
        case ERROR_FILENAME_EXCED_RANGE: return "El nombre del archivo es demasiado largo";
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS: return "El archivo ya existe";
        case ERROR_INVALID_NAME: return "El nombre del archivo, de la carpeta o del volumen no es válido";
        case ERROR_DIRECTORY: return "El nombre de la carpeta no es válido";
        case ERROR_CRC: return "Error de datos (comprobación de redundancia cíclica)";
        case ERROR_GEN_FAILURE: return "Un dispositivo conectado al sistema no funciona";
        case ERROR_DEV_NOT_EXIST: return "El dispositivo ya no existe";
        case kStoppedOnLink: return "Es un enlace, y el respaldo no lo sigue";
        case ERROR_IO_DEVICE: return "Error de entrada/salida del dispositivo";
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY: return "No hay memoria suficiente";
        default: return nullptr;
    }
}

std::string systemText(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
        MAKELANGID(LANG_SPANISH, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (length == 0 || buffer == nullptr) return "Error del sistema número " + std::to_string(error);
    std::wstring text(buffer, length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L'.')) text.pop_back();
    return utf8(text);
}

}  // namespace

std::string spanishErrorText(DWORD error) {
    const char* own = ownText(error);
    return own ? own : systemText(error);
}

Failure windowsFailure(DWORD error, std::string source) {
    Failure failure{static_cast<int>(error), spanishErrorText(error), std::move(source)};
    failure.diskFull = error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
    return failure;
}

Failure destinationKept(std::string source) {
    Failure kept = windowsFailure(ERROR_FILE_EXISTS, std::move(source));
    kept.destinationExisted = true;
    return kept;
}

std::string quoted(const std::wstring& path) { return "'" + utf8(path) + "'"; }

}  // namespace ruror::win32
