// Whether a process with a given image name runs, and ending the suite's own.
// The run ends the suite's own soffice.bin (CLOSESUITEPROCESSES); it no longer
// calls PROCESSEXISTS, kept for its interface.
#pragma once

#include <string>

namespace korvalend {

// True when a running process's image name, or its file-name part, equals
// EXEFILENAME with ASCII case ignored. Walks the whole snapshot.
[[nodiscard]] bool PROCESSEXISTS(const std::string& EXEFILENAME);

// Ends, with exit code 0, each running soffice.bin whose image is the suite's
// own "program\soffice.bin" below INSTALLFOLDER (an absolute path), and keeps
// every other program's: other suites run under that name too. Each is opened
// once, and its image read and the process ended through that one handle, so
// that an identifier taken meanwhile by another process never ends it. One
// whose image cannot be read is ended as well: a running suite would leave its
// own uninstallation to a restart. The observer hears of each with its path
// and of each kept. Returns how many were ended; does not wait for them.
int CLOSESUITEPROCESSES(const std::string& INSTALLFOLDER);

}  // namespace korvalend
