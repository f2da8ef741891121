#pragma once

#include <QString>
#include <memory>

// One running instance per program folder: two installations, or two test folders, never block
// each other. What holds the folder belongs to the user's session and goes when the process
// ends, however it ends, so that no other account can hold it and a crash leaves nothing behind
// that keeps the program from starting again.
class SingleInstance {
public:
    explicit SingleInstance(const QString& programFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this process is now the folder's one instance.
    bool acquire();

private:
    // What holds the folder: one kind per platform.
    struct Hold;

    // A short name for the folder, the same for every way of writing its path.
    QString folderKey() const;

    QString programFolder_;
    std::unique_ptr<Hold> hold_;
};
