// SHFileOperationA on the simulated machine: deletion only, always silent
// (no dialog exists here); the flags received are recorded for tests.
#include <cstring>

#include "platform/backend.h"
#include "platform/shell.h"
#include "platform/sim/machine.h"
#include "platform/wintypes.h"

namespace platform {

int32_t backend::shFileOperationA(ShFileOpStructA& op) {
    sim::FileSystem& fs = sim::current().files;
    sim::FileOpRecord record;
    record.func = op.wFunc;
    record.flags = op.fFlags;
    record.owner = reinterpret_cast<uintptr_t>(op.hwnd);
    // The source list is NUL-separated and ends with an empty entry.
    if (op.pFrom != nullptr) {
        for (const char* p = op.pFrom; *p != '\0'; p += std::strlen(p) + 1) record.sources.emplace_back(p);
    }
    if (op.wFunc != kFoDelete || op.pFrom == nullptr) record.result = kErrorInvalidParameter;
    else record.result = fs.shellDelete(record.sources, op.fFlags);
    op.fAnyOperationsAborted = 0;
    fs.fileOps.push_back(record);
    return record.result;
}

}  // namespace platform
