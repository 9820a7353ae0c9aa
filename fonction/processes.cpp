#include "fonction/processes.h"

#include <algorithm>
#include <utility>

#include "fonction/dbcs.h"
#include "fonction/strings.h"

namespace fonction {

std::string processImageName(const platform::ProcessEntry32& entry) {
    const auto& f = entry.szExeFile;
    const auto end = std::find(f.begin(), f.end(), '\0');
    return std::string(f.begin(), end);
}

std::string imageFileNamePart(const std::string& name) {
    const auto cut = LASTDELIMITER(name, "\\/:");
    return cut == std::string::npos ? name : name.substr(cut + 1);
}

std::string imageNameUpper(std::string name) { return ASCIIUPPER(std::move(name)); }

void WALKPROCESSES(const std::function<void(const platform::ProcessEntry32&)>& VISIT) {
    platform::UniqueSnapshot FSNAPSHOTHANDLE = platform::createToolhelp32Snapshot(platform::kTh32csSnapProcess, 0);
    if (!FSNAPSHOTHANDLE) return;
    platform::ProcessEntry32 FPROCESSENTRY32;
    FPROCESSENTRY32.dwSize = platform::kProcessEntry32Size;
    bool CONTINUELOOP = platform::process32First(FSNAPSHOTHANDLE.get(), FPROCESSENTRY32);
    while (CONTINUELOOP) {
        VISIT(FPROCESSENTRY32);
        CONTINUELOOP = platform::process32Next(FSNAPSHOTHANDLE.get(), FPROCESSENTRY32);
    }
}

int32_t CLOSEPROCCESSUS(const std::string& PNAME) {
    int32_t result = 0;
    const std::string wanted = imageNameUpper(PNAME);
    WALKPROCESSES([&](const platform::ProcessEntry32& entry) {
        if (imageNameUpper(imageFileNamePart(processImageName(entry))) != wanted) return;
        // A process that is gone or refused counts as a failed attempt.
        platform::UniqueProcess process = platform::openProcess(platform::kProcessTerminate, false, entry.th32ProcessID);
        result = process ? platform::terminateProcess(process.get(), 0) : 0;
    });
    return result;
}

}  // namespace fonction
