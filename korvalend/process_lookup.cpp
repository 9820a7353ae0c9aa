#include "korvalend/process_lookup.h"

#include "fonction/processes.h"
#include "platform/processes.h"

namespace korvalend {

bool PROCESSEXISTS(const std::string& EXEFILENAME) {
    bool result = false;
    const std::string wanted = fonction::imageNameUpper(EXEFILENAME);
    platform::UniqueSnapshot FSNAPSHOTHANDLE = platform::createToolhelp32Snapshot(platform::kTh32csSnapProcess, 0);
    if (!FSNAPSHOTHANDLE) return result;
    platform::ProcessEntry32 FPROCESSENTRY32;
    FPROCESSENTRY32.dwSize = platform::kProcessEntry32Size;
    bool CONTINUELOOP = platform::process32First(FSNAPSHOTHANDLE.get(), FPROCESSENTRY32);
    while (CONTINUELOOP) {
        const std::string image = fonction::processImageName(FPROCESSENTRY32);
        if (fonction::imageNameUpper(fonction::imageFileNamePart(image)) == wanted ||
            fonction::imageNameUpper(image) == wanted)
            result = true;  // no early stop: the walk always runs to the end
        CONTINUELOOP = platform::process32Next(FSNAPSHOTHANDLE.get(), FPROCESSENTRY32);
    }
    return result;
}

}  // namespace korvalend
