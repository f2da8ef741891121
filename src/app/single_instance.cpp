#include "single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QStandardPaths>

namespace {

// The user's runtime folder (Qt makes sure it is the user's own and closed to others), else the
// user's cache folder: a shared temporary folder would let another local account create the
// lock first and keep the program from ever starting.
QString lockFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    }
    QDir().mkpath(folder);
    return folder;
}

QString lockPathFor(const QString& programFolder) {
    const QByteArray key = QDir(programFolder).canonicalPath().toUtf8();
    const QByteArray digest = QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex();
    return QDir(lockFolder()).filePath(
        QStringLiteral("kitchen-print-server-%1.lock").arg(QString::fromLatin1(digest.left(16))));
}

} // namespace

SingleInstance::SingleInstance(const QString& programFolder) : lock_(lockPathFor(programFolder)) {
    // Only a live owner holds the folder: a lock left by a crashed instance is taken over.
    lock_.setStaleLockTime(0);
}

bool SingleInstance::acquire() {
    return lock_.tryLock(0);
}
