#pragma once

#include <QString>

class QWidget;

// Puts a window on the primary screen: vertical anchor "TOP" or centred, horizontal anchor
// "좌" (left), "우" (right) or centred. Anchors are compared exactly. A minimised or maximised
// window stays where it is; nothing is clamped to the screen.
void placeWindow(QWidget* window, const QString& verticalAnchor, const QString& horizontalAnchor);
