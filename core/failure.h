#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ruror {

// A failed operation of the machine, as the user is told of it.
struct Failure {
    int number = 0;           // the operating system's error code
    std::string description;  // what went wrong, in Spanish
    std::string source;       // the operation that failed and on what, in Spanish
    // The destination existed and was kept, as a copy without overwrite asks.
    bool destinationExisted = false;
    // The destination's drive had no room left.
    bool diskFull = false;
};

// The number of a copy that the drive gave back other than it was written:
// a code of the program's own, marked as Windows marks codes of
// applications (bit 29), so it is no system's.
inline constexpr int kCopyReadBackDiffers = 0x20000001;
// The number of a copy given up because the user or the session asked the
// backup to stop; marked the same way.
inline constexpr int kStoppedOnRequest = 0x20000002;

// Empty when the operation succeeded.
using Outcome = std::optional<Failure>;

// The largest file a FAT drive (most USB sticks) holds: 4 GiB less a byte.
inline constexpr std::uint64_t kLargestFatFile = 0xFFFFFFFFull;

inline constexpr const char* kTooLargeForFat =
    "El archivo ocupa 4 GB o más, y la unidad de destino tiene el sistema de archivos FAT32, que no admite archivos "
    "de ese tamaño: use una unidad con NTFS o exFAT";

inline constexpr const char* kOnlyInTheCloud =
    "El documento está solo en la nube (OneDrive u otro servicio de sincronización) y no se ha descargado en este "
    "equipo. Elija \"Mantener siempre en este dispositivo\" para su carpeta y haga el respaldo de nuevo";

inline constexpr const char* kReadBackDiffers =
    "La copia leída de nuevo del disco no es igual al archivo de Quvetra: la unidad no guardó bien lo que se escribió";

}  // namespace ruror
