#include "os/win32/cloud_files.h"

#include "os/win32/windows_failure.h"

namespace ruror::win32 {
namespace {

// The attributes of a file whose data is elsewhere, some newer than the
// headers: recalled on open, recalled on reading its data, and offline.
constexpr DWORD kRecallOnOpen = 0x00040000;
constexpr DWORD kRecallOnDataAccess = 0x00400000;

}  // namespace

Outcome cloudOnlyFailure(DWORD attributes, const std::string& sourceText) {
    if ((attributes & (kRecallOnOpen | kRecallOnDataAccess | FILE_ATTRIBUTE_OFFLINE)) == 0) return std::nullopt;
    Failure cloud = windowsFailure(ERROR_FILE_OFFLINE, "Copiar " + sourceText);
    cloud.description =
        "El documento está solo en la nube (OneDrive u otro servicio de sincronización) y no se ha descargado en este "
        "equipo. Elija \"Mantener siempre en este dispositivo\" para su carpeta y haga el respaldo de nuevo";
    return cloud;
}

}  // namespace ruror::win32
