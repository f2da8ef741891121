#pragma once

#include <QString>

// A value to be spliced between single quotes into a statement: its own quotes are doubled so
// that no value can end the literal early and change the statement.
QString quotedValue(const QString& value);
