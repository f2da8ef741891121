#pragma once

#include <QLockFile>
#include <QString>

// One running instance per program folder: two installations, or two test folders, never block
// each other. The lock lives in the user's own runtime folder, so that a read-only program
// folder works and no other account can hold it.
class SingleInstance {
public:
    explicit SingleInstance(const QString& programFolder);

    // True when this process is now the folder's one instance.
    bool acquire();

private:
    QLockFile lock_;
};
