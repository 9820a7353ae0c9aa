// The preview's entry: a console program. Windows' C runtime splits the
// command line by the platform's usual rules before main is called.
#include <string>
#include <vector>

#include "preview/report.h"

int main(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return korvalend::RUNPLANPROCESS(args);
}
