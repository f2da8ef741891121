#pragma once

#include <QString>

// Settings lines of the form key=value are read by position; the key is looked at only where a
// line is optional.

// The value of a line: what follows its first "=", or the whole line when it holds none,
// without leading and trailing blanks (other white space stays).
QString valueOfLine(const QString& line);

// What comes before the first "=" without leading and trailing blanks; empty when there is none.
QString keyOfLine(const QString& line);
