#pragma once

#include <QFont>

// "굴림체" where the system has it, else a Korean font that is installed, so that Hangul never
// shows as boxes.
QFont koreanFont(qreal pointSize, bool bold);
