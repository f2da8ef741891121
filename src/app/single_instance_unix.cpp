#include "operator_journal.h"
#include "single_instance.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// flock holds the open file, not the path, so every path to the folder meets the same lock,
// and it goes when the descriptor closes: with the process, however it ends.
struct SingleInstance::Hold {
    explicit Hold(int openFile) : descriptor(openFile) {}
    ~Hold() { close(descriptor); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

    int descriptor;
};

namespace {

// Read-only is enough for flock: an account that may only read the folder still opens the file
// another account created, and is refused by its lock.
constexpr mode_t readableByAll = S_IRUSR | S_IRGRP | S_IROTH;

// The creator's umask may have closed the file to others; a second copy started by another
// account would then fail to open it instead of being refused. Only the owner may change that.
void openToEveryAccount(int descriptor, const QString& path) {
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || status.st_uid != geteuid() ||
        (status.st_mode & readableByAll) == readableByAll) {
        return;
    }
    if (fchmod(descriptor, status.st_mode | readableByAll) != 0) {
        writeToJournal(QStringLiteral("%1 stays closed to other accounts: %2")
                           .arg(path, qt_error_string(errno)));
    }
}

} // namespace

SingleInstance::SingleInstance(const QString& programFolder)
    : lockFilePath_(QDir(programFolder).filePath(lockFileName)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire() {
    if (hold_) {
        return true;
    }
    // Not inherited: a child process would keep the folder held after this one ended.
    const int descriptor = open(QFile::encodeName(lockFilePath_).constData(),
                                O_RDONLY | O_CREAT | O_CLOEXEC, readableByAll | S_IWUSR);
    if (descriptor < 0) {
        refuse(errno);
    }
    auto hold = std::make_unique<Hold>(descriptor);
    openToEveryAccount(descriptor, lockFilePath_);
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) {
            return false;
        }
        refuse(errno);
    }
    hold_ = std::move(hold);
    return true;
}
