#pragma once

#include <QString>

// One UTF-8 line on standard error for each notice, so that the system journal and tests see
// what the operator was shown. Line breaks of the notice become blanks.
void writeToJournal(const QString& text);
