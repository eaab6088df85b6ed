#include "main_window/room_check.h"

#include "backup/bytes_to_write.h"
#include "backup/data_centre_layout.h"
#include "core/path_text.h"
#include "core/size_text.h"

namespace ruror {

std::optional<std::string> checkRoom(FileSystem& files, const BackupRequest& request, std::uint64_t& needed) {
    needed = bytesToWrite(files, request);
    const std::optional<std::uint64_t> free = files.freeSpace(request.location);
    if (!free) return std::nullopt;
    if (needed <= *free) return std::nullopt;
    std::string text = "No hay espacio suficiente en la unidad de destino de '" + textFromPath(request.location) +
                       "'.\r\n\r\nEl respaldo necesita " + sizeText(needed, true) + " y en la unidad quedan libres " +
                       sizeText(*free) + ".";
    // The earlier backup of that name stays until the new one has been read
    // back, so that a failure never loses it: both stand on the drive a while.
    if (files.destinationState(layout::backupFile(request.location, request.name)) == Destination::File) {
        text +=
            " El respaldo anterior con ese nombre se conserva hasta que el nuevo se ha comprobado: la unidad "
            "necesita espacio para los dos.";
    }
    return text + "\r\n\r\nNo se ha escrito nada. Libere espacio en la unidad o elija otra ubicación.";
}

}  // namespace ruror
