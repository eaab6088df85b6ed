#pragma once

// The texts the window's handlers show, exactly as the user reads them.
namespace ruror::messages {

inline constexpr const char* kLocationEmpty =
    "Hace falta suministrar la información de 'Ubicación'. Por favor proporciónela";
inline constexpr const char* kNameEmpty = "Hace falta suministrar la información de 'Nombre'. Por favor proporciónela";
inline constexpr const char* kNoDatabaseLead = "La operación que intenta realizar, no podrá ser realizada.\r\n\r\n";
inline constexpr const char* kBackupSucceeded = "La operación ha sido realizada en completo éxito";
inline constexpr const char* kBackupFailed =
    "La operación no ha sido realizada en completo éxito. El procedimiento de respaldo ha fallado";
inline constexpr const char* kRefusedCharacter =
    "Un nombre de archivo, no puede contener cualquiera de los siguientes caracteres: | < \\ / > : ? * '' ";
inline constexpr const char* kDatabaseInUseLead =
    "Quvetra parece estar abierto: junto a su base de datos está el archivo de bloqueo ";
inline constexpr const char* kDatabaseInUseQuestion =
    ".\r\n\r\nUna copia hecha mientras Quvetra trabaja puede quedar incompleta. Si Quvetra está cerrado, el "
    "archivo puede haber quedado de un cierre inesperado.\r\n\r\n¿Desea continuar con el respaldo de todos modos?";
inline constexpr const char* kDatabaseWrittenLead =
    "Quvetra está abierto: otro programa tiene abierta su base de datos ";
inline constexpr const char* kDatabaseWrittenQuestion =
    " para escribir en ella.\r\n\r\nUna copia hecha mientras Quvetra trabaja puede quedar incompleta. Lo prudente "
    "es responder No, cerrar Quvetra y volver a intentarlo.\r\n\r\n¿Desea continuar con el respaldo de todos modos?";
inline constexpr const char* kFailureReportTitle = "Ha ocurrido un error";
inline constexpr const char* kStopQuestion = "¿Desea detener el respaldo?";
inline constexpr const char* kLeftOutFoldersTitle = "Carpetas no respaldadas";
inline constexpr const char* kLeftOutWithLinksTitle = "Carpetas y enlaces no respaldados";
inline constexpr const char* kOutdatedDocumentsTitle = "Documentos no actualizados";
inline constexpr const char* kDataCentreFailuresTitle = "Respaldo incompleto";

// The status line during a backup. The first one counts the stages: "1" or "5".
inline constexpr const char* kDatabaseStageLead = "Proceso 1 de ";
inline constexpr const char* kDatabaseStageTail = ": Creando respaldo principal...";
inline constexpr const char* kDataCentreStage = "Proceso 2 de 5: Respaldando centro de datos...";
inline constexpr const char* kArchivoStage = "Proceso 3 de 5: Respaldando Archivo...";
inline constexpr const char* kPlantillasStage = "Proceso 4 de 5: Respaldando Plantillas...";
inline constexpr const char* kReferenciasStage = "Proceso 5 de 5: Respaldando Referencias...";
inline constexpr const char* kStagesComplete = "Procesos completos";

inline constexpr const char* kBannerTitle = "Respaldo de seguridad | Quvetra";
inline constexpr const char* kWindowCaption = "Respaldo de seguridad";
inline constexpr const char* kApplicationTitle = "RUROR";

}  // namespace ruror::messages
