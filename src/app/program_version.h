#pragma once

#include <QString>

// The version the main window shows and --version prints; the build takes it from the
// project's version, which the packages carry too.
inline const QString versionText = QStringLiteral("Ver : " KPS_VERSION);
