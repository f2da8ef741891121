#include "single_instance.h"

#include <QDir>
#include <windows.h>

// A byte-range lock holds the file, not the path, and for every session on the machine; Windows
// releases it with the handle, when the process ends however it ends.
struct SingleInstance::Hold {
    explicit Hold(HANDLE openFile) : file(openFile) {}
    ~Hold() { CloseHandle(file); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

    HANDLE file;
};

SingleInstance::SingleInstance(const QString& programFolder)
    : lockFilePath_(QDir(programFolder).filePath(lockFileName)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire() {
    if (hold_) {
        return true;
    }
    // Reading is enough to lock it, and the file is shared for everything, so that a second
    // copy, under any account the folder lets read it, opens it and fails only the lock. Without
    // security attributes the handle is not inherited by child processes. A Windows program
    // folder is writable (it holds the logs), and a folder handle cannot be locked: where the
    // file cannot be created, the start fails, shown.
    const HANDLE file =
        CreateFileW(QDir::toNativeSeparators(lockFilePath_).toStdWString().c_str(), GENERIC_READ,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        refuse(static_cast<int>(GetLastError()));
    }
    auto hold = std::make_unique<Hold>(file);
    OVERLAPPED firstByte{};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                    &firstByte)) {
        const DWORD error = GetLastError();
        if (error == ERROR_LOCK_VIOLATION) {
            return false;
        }
        refuse(static_cast<int>(error));
    }
    hold_ = std::move(hold);
    return true;
}
