#include "single_instance.h"

#include <QCryptographicHash>
#include <QDir>

QString SingleInstance::folderKey() const {
    QString path = QDir(programFolder_).canonicalPath();
    if (QDir(path.toUpper()).exists() && QDir(path.toLower()).exists()) {
        // A file system that ignores letter case: C:\POS and c:\pos are one folder.
        path = path.toLower();
    }
    const QByteArray digest =
        QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QString::fromLatin1(digest.left(16));
}
