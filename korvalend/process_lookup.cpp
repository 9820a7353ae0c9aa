#include "korvalend/process_lookup.h"

#include <string>

#include "fonction/processes.h"
#include "korvalend/observer.h"
#include "platform/processes.h"

namespace korvalend {

bool PROCESSEXISTS(const std::string& EXEFILENAME) {
    bool result = false;
    const std::string wanted = fonction::imageNameUpper(EXEFILENAME);
    // No early stop: the walk always runs to the end.
    fonction::WALKPROCESSES([&](const platform::ProcessEntry32& entry) {
        const std::string image = fonction::processImageName(entry);
        if (fonction::imageNameUpper(fonction::imageFileNamePart(image)) == wanted ||
            fonction::imageNameUpper(image) == wanted) {
            result = true;
            REMOVALOBSERVER().found("running process",
                                    image + " (process " + std::to_string(entry.th32ProcessID) + ")");
        }
    });
    return result;
}

}  // namespace korvalend
