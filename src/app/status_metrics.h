#pragma once

#include "store_status.h"

#include <QByteArray>
#include <QDateTime>

// The store's status as Prometheus text (exposition format 0.0.4, UTF-8): whether the database
// is connected, and for each printer its state, its waiting jobs, the time it last printed and
// its jobs printed today.
QByteArray statusMetrics(const StoreStatus& status, const QDateTime& now);
