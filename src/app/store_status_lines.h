#pragma once

#include "status_list.h"
#include "store_status.h"

// The operator's status list of the store: the database first, then each printer; a log that
// cannot be written last.
QList<StatusLine> statusLinesOf(const StoreStatus& status);
