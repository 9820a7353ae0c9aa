// The simulated shell: programs that ShellExecuteEx can start, environment
// variables, the thread's message queue.
#pragma once

namespace sim {

class Shell {
public:
    // Owned by the launch-and-wait work.
};

}  // namespace sim
