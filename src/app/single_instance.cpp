#include "single_instance.h"

#include <QCryptographicHash>
#include <QDir>

namespace {

QString lockPathFor(const QString& programFolder) {
    const QByteArray key = QDir(programFolder).canonicalPath().toUtf8();
    const QByteArray digest = QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex();
    return QDir::temp().filePath(
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
