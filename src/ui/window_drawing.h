#pragma once

#include <QRect>
#include <QString>

class QPainter;

// A button drawn onto a window's own picture: a rounded, shaded plate with its label. The
// windows take clicks on the plate's area themselves.
void drawButtonPlate(QPainter& painter, const QRect& area, const QString& label);

// The frame every window of the program is drawn in.
void drawWindowFrame(QPainter& painter, const QRect& window, const QRect& textPanel);
