#include "preview/output.h"

#include "platform/console.h"
#include "platform/text.h"

namespace korvalend {

void WRITEPLANOUTPUT(platform::StdStream stream, const std::string& ansi) {
    // The program's text is ANSI; a console takes it as UTF-16, a file or a
    // pipe in the console's output code page, as console programs write.
    const std::u16string wide = platform::ansiToWide(ansi);
    if (platform::isConsoleStream(stream)) {
        (void)platform::writeConsoleW(stream, wide);
        return;
    }
    const uint32_t codePage = platform::getConsoleOutputCP();
    (void)platform::writeStreamBytes(stream, codePage != 0 ? platform::wideToCodePage(wide, codePage) : ansi);
}

}  // namespace korvalend
