// The simulated file system, special folders and Recycle Bin.
#pragma once

#include <string>

namespace sim {

class FileSystem {
public:
    // Owned by the file-system work: drive letters, case-insensitive names,
    // attributes, enumeration order, files that refuse deletion, Recycle Bin.
};

}  // namespace sim
