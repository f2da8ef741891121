#include "status_list.h"

#include "korean_font.h"

#include <QHeaderView>

namespace {

constexpr int statusColumns = 4;

QColor colourOf(StatusLine::Health health) {
    switch (health) {
    case StatusLine::Health::good:
        return QColor(0, 110, 0);
    case StatusLine::Health::warning:
        return QColor(170, 110, 0);
    case StatusLine::Health::fault:
        break;
    }
    return QColor(200, 0, 0);
}

QTableWidgetItem* cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    item->setToolTip(text);
    return item;
}

} // namespace

StatusList::StatusList(QWidget* parent) : QTableWidget(0, statusColumns, parent) {
    setObjectName(QStringLiteral("상태목록"));
    setFont(koreanFont(9, false));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(20);
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    horizontalHeader()->setSectionResizeMode(3, QHeaderView::ResizeToContents);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    setShowGrid(false);
    setWordWrap(false);
}

void StatusList::setLines(const QList<StatusLine>& lines) {
    setRowCount(static_cast<int>(lines.size()));
    for (int row = 0; row < lines.size(); ++row) {
        const StatusLine& line = lines.at(row);
        setItem(row, 0, cell(line.name));
        QTableWidgetItem* state = cell(line.state);
        state->setForeground(colourOf(line.health));
        setItem(row, 1, state);
        setItem(row, 2, cell(line.lastPrinted));
        setItem(row, 3, cell(line.waiting));
    }
}

QString StatusList::textAt(int row, int column) const {
    const QTableWidgetItem* shown = item(row, column);
    return shown ? shown->text() : QString();
}
