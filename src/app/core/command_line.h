// The command line of the program: interactive with any number of
// parameters other than two; automation mode with exactly two, the
// direction keyword and the handle of the caller's window in hexadecimal.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace enlacor {

// A text that does not convert to an integer; the message follows
// "'%s' is not a valid integer value".
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class RunDirection { kNone, kExport, kImport };

// Whether the parameters (program name excluded) ask for automation mode.
bool HasAutomationParameters(const std::vector<std::string>& params);

// The run FormShow starts: parameter 1 folded to lower case for A-Z only
// and compared with "importar", then "exportar". kNone unless there are
// exactly two parameters and the keyword matches.
RunDirection DirectionOf(const std::vector<std::string>& params);

// Folds the ASCII letters A-Z to lower case; nothing else changes.
std::string FoldAsciiLower(std::string_view text);

// Reads parameter 2 as the window handle: "$" is put in front and the text
// read as a hexadecimal 32-bit integer. One to eight hexadecimal digits and
// nothing else convert; anything else raises ConversionError with the text
// "'$<param>' is not a valid integer value".
std::uint32_t ParseWindowHandle(std::string_view param);

}  // namespace enlacor
