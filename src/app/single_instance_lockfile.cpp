#include "single_instance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

// A lock file in the user's runtime folder (Qt makes sure it is the user's own and closed to
// others, and it is emptied at every boot), else in the user's cache folder: a shared temporary
// folder would let another local account create the lock first and keep the program from ever
// starting.
struct SingleInstance::Hold {
    explicit Hold(const QString& path) : lock(path) {
        // Only a live owner holds the folder: a lock left by a crashed instance is taken over.
        lock.setStaleLockTime(0);
    }
    QLockFile lock;
};

namespace {

QString lockFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    }
    QDir().mkpath(folder);
    return folder;
}

} // namespace

SingleInstance::SingleInstance(const QString& programFolder) : programFolder_(programFolder) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire() {
    if (!hold_) {
        hold_ = std::make_unique<Hold>(
            QDir(lockFolder())
                .filePath(QStringLiteral("kitchen-print-server-%1.lock").arg(folderKey())));
    }
    return hold_->lock.tryLock(0);
}
