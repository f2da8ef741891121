#include "single_instance.h"

#include <windows.h>

// A named mutex in the user's session: Windows releases it with the process, so that a crashed
// instance never blocks the next start, as a lock file with a reused process number could.
struct SingleInstance::Hold {
    explicit Hold(HANDLE owned) : mutex(owned) {}
    ~Hold() { CloseHandle(mutex); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

    HANDLE mutex;
};

SingleInstance::SingleInstance(const QString& programFolder) : programFolder_(programFolder) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire() {
    if (hold_) {
        return true;
    }
    const std::wstring name =
        (QStringLiteral("Local\\kitchen-print-server-") + folderKey()).toStdWString();
    const HANDLE mutex = CreateMutexW(nullptr, TRUE, name.c_str());
    if (mutex == nullptr) {
        return false;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    hold_ = std::make_unique<Hold>(mutex);
    return true;
}
