#include "fonction/launch.h"

#include "platform/processes.h"
#include "platform/shell.h"
#include "platform/wintypes.h"

namespace fonction {
namespace {

// SHELLEXECUTEINFOA on 64-bit Windows.
constexpr int32_t kSeiSize = 112;
static_assert(sizeof(platform::ShellExecuteInfoA) == kSeiSize, "the shell's request record is 112 bytes");

// Keep the process handle, let DDE finish, expand %VARIABLES%, never show UI.
constexpr uint32_t kSeiMask = platform::kSeeMaskNoCloseProcess | platform::kSeeMaskFlagDdeWait |
                              platform::kSeeMaskDoEnvSubst | platform::kSeeMaskFlagNoUi;
static_assert(kSeiMask == 0x740);

constexpr uint32_t kWaitSliceMs = 10;

}  // namespace

bool SHELLEXECANDWAIT(const std::string& FILENAME, const std::string& PARAMETERS, const std::string& VERB,
                      int32_t CMDSHOW, const std::string& DIRECTORY) {
    platform::ShellExecuteInfoA SEI;
    RESETMEMORY(SEI, kSeiSize);
    SEI.cbSize = kSeiSize;
    SEI.fMask = kSeiMask;
    SEI.lpFile = FILENAME.c_str();  // always a text, empty or not
    SEI.lpParameters = PCHARORNIL(PARAMETERS);
    SEI.lpVerb = PCHARORNIL(VERB);
    SEI.nShow = CMDSHOW;
    SEI.lpDirectory = PCHARORNIL(DIRECTORY);

    const bool result = platform::shellExecuteExA(SEI) != 0;
    if (!result) return false;
    // Owned from here on, so it is closed on every way out.
    platform::UniqueProcess process(SEI.hProcess);
    SEI.hProcess = nullptr;
    // Handed to an already running program: nothing of ours to wait for.
    if (!process) return true;

    (void)platform::waitForInputIdle(process.get(), platform::kInfinite);
    platform::Msg MSG;
    while (platform::waitForSingleObject(process.get(), kWaitSliceMs) == platform::kWaitTimeout) {
        // The null owner window of the request: no window filter.
        int32_t RES = platform::peekMessageA(MSG, SEI.hwnd, 0, 0, platform::kPmRemove);
        while (RES != 0) {
            (void)platform::translateMessage(MSG);
            (void)platform::dispatchMessageA(MSG);
            RES = platform::peekMessageA(MSG, SEI.hwnd, 0, 0, platform::kPmRemove);
        }
    }
    return result;
}

}  // namespace fonction
