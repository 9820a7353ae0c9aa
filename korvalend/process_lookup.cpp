#include "korvalend/process_lookup.h"

#include <string>

#include "fonction/processes.h"
#include "korvalend/observer.h"
#include "korvalend/paths.h"
#include "korvalend/safety.h"
#include "platform/files.h"
#include "platform/processes.h"
#include "platform/text.h"

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

namespace {

const std::string SSUITE_IMAGE = "soffice.bin";

// A path as it compares when the files' identities cannot be had: 8.3 names
// in their long form.
std::u16string comparable(const std::u16string& path) { return platform::getLongPathNameW(path).value_or(path); }

// The two paths name one file: by volume and file index where both open,
// which sees through 8.3 names, junctions and letter case alike.
bool sameFile(const std::u16string& a, const std::u16string& b) {
    const platform::UniqueFile fileA = platform::createFileForIdentityW(a);
    const platform::UniqueFile fileB = platform::createFileForIdentityW(b);
    platform::FileIdentity idA, idB;
    if (fileA && fileB && platform::getFileIdentity(fileA.get(), idA) && platform::getFileIdentity(fileB.get(), idB))
        return idA == idB;
    return platform::equalOrdinalIgnoreCase(comparable(a), comparable(b));
}

}  // namespace

int CLOSESUITEPROCESSES(const std::string& INSTALLFOLDER) {
    auto& observer = REMOVALOBSERVER();
    // A folder that is no full path names no image of the suite's.
    const bool known = !SPLITFOLDERPATH(INSTALLFOLDER).root.empty();
    const std::u16string own = platform::ansiToWide(inFolder(INSTALLFOLDER, "program\\" + SSUITE_IMAGE));
    const std::string wanted = fonction::imageNameUpper(SSUITE_IMAGE);
    int ended = 0;
    fonction::WALKPROCESSES([&](const platform::ProcessEntry32& entry) {
        const std::string name = fonction::processImageName(entry);
        if (fonction::imageNameUpper(fonction::imageFileNamePart(name)) != wanted) return;
        const std::string id = "process " + std::to_string(entry.th32ProcessID);
        const std::string step = "ending " + name + " (" + id + ")";
        platform::UniqueProcess process = platform::openProcess(
            platform::kProcessQueryLimitedInformation | platform::kProcessTerminate, false, entry.th32ProcessID);
        if (!process) {
            observer.found("running process", name + " (" + id + ")");
            observer.skipped(step, TSKIP::PROCESSNOTOPENED);
            return;
        }
        std::u16string image;
        if (!platform::queryFullProcessImageNameW(process.get(), image)) {
            observer.found("running process", name + " (" + id + "), whose image cannot be read");
        } else {
            const std::string path = platform::wideToAnsi(image);
            observer.found("running process", path + " (" + id + ")");
            if (!known || !sameFile(image, own)) {
                observer.kept(path, TReason(TREFUSAL::OTHERIMAGE, id));
                return;
            }
        }
        const bool done = platform::terminateProcess(process.get(), 0) != 0;
        observer.processEnded(entry.th32ProcessID, name, done);
        if (done) ++ended;
        else observer.skipped(step, TSKIP::PROCESSNOTENDED);
    });
    return ended;
}

}  // namespace korvalend
