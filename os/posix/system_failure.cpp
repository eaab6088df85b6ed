#include "os/posix/system_failure.h"

#include <cerrno>
#include <utility>

namespace ruror::posix {

std::string spanishErrorText(int errorNumber) {
    switch (errorNumber) {
        case EPERM: return "Operación no permitida";
        case ENOENT: return "No existe el archivo o el directorio";
        case EINTR: return "Llamada del sistema interrumpida";
        case EIO: return "Error de entrada/salida";
        case ENXIO: return "No existe el dispositivo o la dirección";
        case EBADF: return "Descriptor de archivo incorrecto";
        case EAGAIN: return "Recurso no disponible temporalmente";
        case ENOMEM: return "No hay memoria suficiente";
        case EACCES: return "Permiso denegado";
        case EBUSY: return "Dispositivo o recurso ocupado";
        case EEXIST: return "El archivo ya existe";
        case EXDEV: return "Enlace entre dispositivos no válido";
        case ENODEV: return "No existe el dispositivo";
        case ENOTDIR: return "No es un directorio";
        case EISDIR: return "Es un directorio";
        case EINVAL: return "Argumento no válido";
        case ENFILE: return "Demasiados archivos abiertos en el sistema";
        case EMFILE: return "Demasiados archivos abiertos";
        case ETXTBSY: return "Archivo de texto ocupado";
        case EFBIG: return "Archivo demasiado grande";
        case ENOSPC: return "No queda espacio en el dispositivo";
        case ESPIPE: return "Búsqueda no permitida";
        case EROFS: return "Sistema de archivos de solo lectura";
        case EMLINK: return "Demasiados enlaces";
        case ENAMETOOLONG: return "Nombre de archivo demasiado largo";
        case ENOSYS: return "Función no implementada";
        case ENOTEMPTY: return "El directorio no está vacío";
        case ELOOP: return "Demasiados niveles de enlaces simbólicos";
        case EOPNOTSUPP: return "Operación no admitida";
        case ESTALE: return "Manejador de archivo NFS obsoleto";
        case EDQUOT: return "Cuota de disco excedida";
        case ETIMEDOUT: return "Se agotó el tiempo de espera de la conexión";
        case EILSEQ: return "Secuencia de bytes no válida o incompleta";
        default: return "Error del sistema número " + std::to_string(errorNumber);
    }
}

Failure systemFailure(int errorNumber, std::string source) {
    Failure failure{errorNumber, spanishErrorText(errorNumber), std::move(source)};
    failure.diskFull = errorNumber == ENOSPC || errorNumber == EDQUOT;
    return failure;
}

Failure destinationKept(std::string source) {
    Failure kept = systemFailure(EEXIST, std::move(source));
    kept.destinationExisted = true;
    return kept;
}

bool notOffered(int errorNumber) { return errorNumber == ENOSYS || errorNumber == EOPNOTSUPP || errorNumber == ENOTTY; }

std::string quoted(const std::string& path) { return "'" + path + "'"; }

}  // namespace ruror::posix
