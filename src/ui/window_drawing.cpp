#include "window_drawing.h"

#include "korean_font.h"

#include <QLinearGradient>
#include <QPainter>

void drawButtonPlate(QPainter& painter, const QRect& area, const QString& label) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient shade(area.topLeft(), area.bottomLeft());
    shade.setColorAt(0, QColor(90, 130, 200));
    shade.setColorAt(1, QColor(40, 70, 130));
    painter.setBrush(shade);
    painter.setPen(QPen(QColor(20, 40, 90), 2));
    painter.drawRoundedRect(area.adjusted(4, 6, -4, -6), 12, 12);
    painter.setPen(Qt::white);
    painter.setFont(koreanFont(20, true));
    painter.drawText(area, Qt::AlignCenter, label);
    painter.restore();
}

void drawWindowFrame(QPainter& painter, const QRect& window, const QRect& textPanel) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(window, QColor(236, 240, 246));
    painter.setPen(QPen(QColor(40, 70, 130), 4));
    painter.drawRect(window.adjusted(2, 2, -2, -2));
    painter.setPen(QPen(QColor(160, 170, 190), 1));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(textPanel, 10, 10);
    painter.restore();
}
