#pragma once

#include <QString>
#include <memory>

// The file in the program folder the hold is on; it stays there between runs.
inline const QString lockFileName = QStringLiteral("kitchen-print-server.lock");

// One running instance per program folder on the whole machine, whatever the account, the
// session or the path (a link, a bind mount, other letter case) the folder is reached by: a
// second copy would print the same jobs. The hold is the system's lock on a file in the folder
// itself, so two installations never block each other, and the system releases it with the
// process however it ends: a crash or a reboot leaves nothing that keeps the program from
// starting again.
class SingleInstance {
public:
    explicit SingleInstance(const QString& programFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this process now holds the folder, false when another process does. Throws,
    // saying why, when the folder cannot be held at all.
    bool acquire();

private:
    // The open lock file: one kind per platform.
    struct Hold;

    [[noreturn]] void refuse(int systemError) const;

    QString lockFilePath_;
    std::unique_ptr<Hold> hold_;
};
