#pragma once

#include <QChar>

// Columns a character takes in a UTF-8 terminal: 2 for Hangul, CJK and full-width forms, 1 for
// the rest, including the symbols whose width terminals leave open (※, ─, ①).
int terminalColumnsOf(QChar character);
