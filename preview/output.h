// Writing the preview's text where the administrator reads it.
#pragma once

#include <string>

#include "platform/console.h"

namespace korvalend {

// Writes ANSI text to standard output or error: as UTF-16 to a console, in
// the console's output code page to a file or a pipe.
void WRITEPLANOUTPUT(platform::StdStream stream, const std::string& ansi);

}  // namespace korvalend
