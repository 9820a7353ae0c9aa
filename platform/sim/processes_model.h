// The simulated process table.
#pragma once

namespace sim {

class ProcessTable {
public:
    // Owned by the process work: image names, identifiers, processes that
    // cannot be opened or terminated.
};

}  // namespace sim
