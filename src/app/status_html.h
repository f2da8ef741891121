#pragma once

#include "store_status.h"

#include <QByteArray>
#include <QDateTime>
#include <QStringList>

// How often the page reloads itself.
constexpr int statusPageRefreshSeconds = 5;

// The status page as UTF-8 HTML for a phone's browser: the status list (database, logs, each
// printer with its state, last print, waiting jobs and jobs printed today) and the given lines
// of today's error log.
QByteArray statusHtml(const StoreStatus& status, const QStringList& errorLogLines,
                      const QDateTime& now);
