// The reason of a failed system call, in the program's language, for the
// messages of the document service and the table engine.
#pragma once

#include <string>

namespace enlacor {

// A short Spanish text for `error` (an errno value): "permiso denegado",
// "no queda espacio en el disco" ...; the system's own text for the rare
// codes it does not know.
std::string SystemErrorReason(int error);

}  // namespace enlacor
