#pragma once

#include <cstdint>
#include <mutex>
#include <set>

// The network printer connections the lanes hold open, so that a program ending at once can
// reset them: what a printer has not taken of a job cut off must not arrive after the end.
class OpenConnections {
public:
    void add(std::intptr_t descriptor);
    void remove(std::intptr_t descriptor);
    // Makes the system reset every open connection when the process ends. A lane may close a
    // connection meanwhile and the system may hand its number to a new one: that one is reset
    // too, which at the program's end is what it should be anyway.
    void resetAllOnClose();

private:
    std::mutex mutex_;
    std::set<std::intptr_t> descriptors_;
};
