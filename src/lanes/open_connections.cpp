#include "open_connections.h"

#include "socket_platform.h"

void OpenConnections::add(std::intptr_t descriptor) {
    const std::lock_guard lock(mutex_);
    descriptors_.insert(descriptor);
}

void OpenConnections::remove(std::intptr_t descriptor) {
    const std::lock_guard lock(mutex_);
    descriptors_.erase(descriptor);
}

void OpenConnections::resetAllOnClose() {
    const std::lock_guard lock(mutex_);
    for (const std::intptr_t descriptor : descriptors_) {
        socket_platform::resetOnClose(descriptor);
    }
}
