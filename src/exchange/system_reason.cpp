#include "exchange/system_reason.h"

#include <cerrno>
#include <cstring>

namespace enlacor {

std::string SystemErrorReason(int error) {
  switch (error) {
    case ENOENT: return "no existe el archivo o su carpeta";
    case EACCES:
    case EPERM: return "permiso denegado";
    case EISDIR: return "es una carpeta";
    case ENOTDIR: return "una parte de la ruta no es una carpeta";
    case ENOSPC: return "no queda espacio en el disco";
    case EDQUOT: return "se ha superado la cuota de disco";
    case EROFS: return "el disco es de solo lectura";
    case EFBIG: return "el archivo es demasiado grande";
    case EIO: return "error de entrada/salida";
    case EBUSY:
    case ETXTBSY: return "el archivo está ocupado";
    default: return std::strerror(error);
  }
}

}  // namespace enlacor
