#include "main_window/backup_report.h"

#include <algorithm>

#include "backup/data_centre_layout.h"
#include "core/path_text.h"
#include "main_window/listed_lines.h"
#include "main_window/messages.h"

namespace ruror {
namespace {

constexpr const char* kCrLf = "\r\n";

constexpr const char* kRoomForBoth =
    ". El respaldo nuevo se escribe junto al anterior, que se conserva hasta que el nuevo se ha leído de nuevo del "
    "disco: la unidad necesita espacio para los dos. Libere espacio o use otra unidad";

// One line for all the documents a destination gone away did not take.
Failure destinationGoneLine(const DataCentreFindings& findings, const BackupRequest& request) {
    const std::size_t count = findings.notCopiedSinceGone;
    Failure line = *findings.destinationGone;
    line.source = "Copiar a '" + textFromPath(request.location) + "'";
    line.description = "La unidad de destino ya no está disponible: no se copi" +
                       std::string(count == 1 ? "ó 1 documento" : "aron " + std::to_string(count) + " documentos") +
                       ". Compruebe que la memoria o el disco sigue conectado y haga el respaldo de nuevo";
    return line;
}

// Folders the fixed layout leaves out, and kept documents older than
// Quvetra's, are told, and the backup is still whole; whatever the data
// centre could not give is told, and the backup is not called a success.
void tellFindings(Dialogs& dialogs, const BackupRequest& request, const BackupResult& result) {
    if (!result.leftOut.empty()) {
        const bool anyLink =
            std::any_of(result.leftOut.begin(), result.leftOut.end(), [](const LeftOut& entry) { return entry.link; });
        dialogs.messageBox(leftOutText(result.leftOut), box::kOkOnly | box::kInformation,
                           anyLink ? messages::kLeftOutWithLinksTitle : messages::kLeftOutFoldersTitle);
    }
    const DataCentreFindings& found = result.dataCentre;
    if (!found.outdated.empty()) {
        const std::string tree = textFromPath(joinedPath(request.location, layout::kBackupTree));
        dialogs.messageBox(outdatedDocumentsText(found.outdated, tree), box::kOkOnly | box::kInformation,
                           messages::kOutdatedDocumentsTitle);
    }
    std::vector<Failure> notCopied = found.failures;
    if (found.destinationGone) notCopied.push_back(destinationGoneLine(found, request));
    if (notCopied.empty()) return;
    dialogs.messageBox(dataCentreFailuresText(notCopied), box::kOkOnly | box::kCritical,
                       messages::kDataCentreFailuresTitle);
}

}  // namespace

bool tellBackupResult(Dialogs& dialogs, const BackupRequest& request, const BackupResult& result, bool replacing) {
    if (result.stopped) {
        // Asked for by the user, and no failure: one box says what is kept.
        if (request.stop == nullptr || request.stop->by() != StopBy::Session)
            dialogs.messageBox(stoppedBackupText(request, result, replacing), box::kOkOnly | box::kInformation);
        return false;
    }
    if (Outcome failure = result.databaseFailure) {
        // The earlier backup is kept until the new one is whole: the drive
        // needs room for both, which a full drive is told to explain.
        if (failure->diskFull && replacing) failure->description += kRoomForBoth;
        dialogs.messageBox(failureReportText(*failure), box::kOkOnly, messages::kFailureReportTitle);
    } else {
        tellFindings(dialogs, request, result);
    }
    const bool succeeded = result.complete();
    if (succeeded) {
        dialogs.messageBox(messages::kBackupSucceeded, box::kOkOnly | box::kInformation);
    } else {
        dialogs.messageBox(messages::kBackupFailed, box::kOkOnly | box::kCritical);
    }
    return succeeded;
}

// The last line names the file the data centre's listing stood at; the
// database is copied before any listing begins, so it is always empty.
std::string failureReportText(const Failure& failure) {
    return "Número: " + std::to_string(failure.number) + kCrLf +  //
           "Descripción: " + failure.description + kCrLf +        //
           kCrLf +                                                //
           "Fuente: " + failure.source + kCrLf +                  //
           "Ventana: Principal           Proceso : FunCopiar" + kCrLf + "Detalle : ";
}

std::string dataCentreFailuresText(const std::vector<Failure>& failures) {
    std::vector<std::string> lines;
    lines.reserve(failures.size());
    for (const Failure& failure : failures)
        lines.push_back(failure.source + ": " + failure.description + " (" + std::to_string(failure.number) + ").");
    return "No se pudo respaldar todo el centro de datos. Esto no se ha copiado o no se ha guardado en el disco:\r\n" +
           listedLines(lines);
}

std::string outdatedDocumentsText(const std::vector<std::string>& names, const std::string& tree) {
    const bool one = names.size() == 1;
    std::string text = one ? "1 documento ha cambiado en Quvetra desde que se copió a '" + tree +
                                 "', y su versión nueva no se ha copiado:\r\n"
                           : std::to_string(names.size()) +
                                 " documentos han cambiado en Quvetra desde que se copiaron a '" + tree +
                                 "', y sus versiones nuevas no se han copiado:\r\n";
    text += listedLines(names);
    text +=
        "\r\n\r\nLa carpeta del respaldo conserva las versiones de los respaldos anteriores: nunca reemplaza un "
        "documento que ya tiene. Para tener una copia completa y actual de todos los documentos, haga el respaldo en "
        "una ubicación nueva o vacía.";
    return text;
}

namespace {

std::string filesCounted(std::size_t files) {
    if (files >= kMoreFilesThanCounted) return "más de 1.000 archivos";
    return std::to_string(files) + (files == 1 ? " archivo" : " archivos");
}

}  // namespace

std::string stoppedBackupText(const BackupRequest& request, const BackupResult& result, bool replacing) {
    const std::string backupFile = textFromPath(layout::backupFile(request.location, request.name));
    std::string text = "El respaldo se ha detenido.\r\n\r\n";
    if (!result.databaseCopied) {
        text += "No se ha creado el respaldo '" + backupFile + "'";
        text += replacing ? ": el respaldo anterior con ese nombre sigue como estaba." : ".";
    } else {
        text += "La base de datos se copió y se comprobó en '" + backupFile + "'.";
        const std::size_t copied = result.dataCentre.copied;
        if (request.dataCentre && copied == 0) {
            text += " Del centro de datos no se ha copiado ningún documento.";
        } else if (request.dataCentre) {
            text += " Del centro de datos, " +
                    (copied == 1 ? std::string("1 documento se copió y se comprobó")
                                 : std::to_string(copied) + " documentos se copiaron y se comprobaron") +
                    " en '" + textFromPath(joinedPath(request.location, layout::kBackupTree)) +
                    "'; los demás no se han copiado.";
        }
    }
    return text +
           "\r\n\r\nNo ha quedado ningún archivo a medio copiar. Para tener un respaldo completo, hágalo de "
           "nuevo.";
}

std::string leftOutText(const std::vector<LeftOut>& entries) {
    std::vector<std::string> folders, links;
    for (const LeftOut& entry : entries) {
        if (entry.link)
            links.push_back(entry.shownAs);
        else
            folders.push_back(entry.shownAs + " (" + filesCounted(entry.files) + ")");
    }
    std::string text;
    if (!folders.empty()) {
        text +=
            "El respaldo del centro de datos toma los archivos que están directamente en la carpeta \"QVT Datos\" "
            "y en sus carpetas Archivo, Plantillas y Referencias, y ninguna carpeta más. Estas carpetas, con sus "
            "archivos, no se han copiado:\r\n" +
            listedLines(folders);
    }
    if (!links.empty()) {
        if (!text.empty()) text += "\r\n\r\n";
        text +=
            "Estos enlaces no se han seguido ni copiado: un enlace señala otro archivo u otra carpeta, que puede "
            "estar fuera de los datos de Quvetra, y el respaldo solo copia los archivos que están en ellos:\r\n" +
            listedLines(links);
    }
    return text +
           "\r\n\r\nSi guardan documentos que deben respaldarse, cópielos aparte. Es solo un aviso: lo demás se ha "
           "respaldado como siempre.";
}

}  // namespace ruror
