#include "operator_journal.h"
#include "single_instance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// flock holds the open file, not the path, so every path to the folder meets the same lock,
// and it goes when the descriptor closes: with the process, however it ends. The folder itself
// is locked as well: shared by every copy that holds the lock file, exclusively by a copy that
// cannot create it (a read-only folder, an account that may not write there). Such a copy keeps
// every other out all the same, so it prints, where refusing would leave the kitchen without
// tickets until someone fixes the folder.
struct SingleInstance::Hold {
    Hold() = default;
    ~Hold() {
        for (const int descriptor : {file, folder}) {
            if (descriptor >= 0) {
                close(descriptor);
            }
        }
    }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

    int file = -1;
    int folder = -1;
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
    // False when another copy holds it.
    const auto lock = [this](int descriptor, int kind) {
        if (flock(descriptor, kind | LOCK_NB) == 0) {
            return true;
        }
        if (errno != EWOULDBLOCK) {
            refuse(errno);
        }
        return false;
    };
    // Both closed on exec: a child process would keep the folder held after this one ended.
    auto hold = std::make_unique<Hold>();
    hold->file = open(QFile::encodeName(lockFilePath_).constData(), O_RDONLY | O_CREAT | O_CLOEXEC,
                      readableByAll | S_IWUSR);
    if (hold->file >= 0) {
        openToEveryAccount(hold->file, lockFilePath_);
        if (!lock(hold->file, LOCK_EX)) {
            return false;
        }
    }
    hold->folder = open(QFile::encodeName(QFileInfo(lockFilePath_).path()).constData(),
                        O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (hold->folder < 0) {
        refuse(errno);
    }
    if (!lock(hold->folder, hold->file >= 0 ? LOCK_SH : LOCK_EX)) {
        return false;
    }
    hold_ = std::move(hold);
    return true;
}
