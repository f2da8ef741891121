#include "receipt_text.h"

#include "paper.h"
#include "terminal_columns.h"

#include <algorithm>

namespace {

constexpr int gutterWidth = 4;
constexpr int frameWidth = gutterWidth + 2 + paper::columns + 1; // gutter, " |", paper, "|"

QString sizeMarker(const PaperLine& line) {
    int widest = 1;
    for (const TextRun& run : line.runs) {
        widest = std::max(widest, run.size.width);
    }
    QString marker;
    if (widest > 1) {
        marker += QStringLiteral("W%1").arg(widest);
    }
    if (line.height() > 1) {
        marker += QStringLiteral("H%1").arg(line.height());
    }
    return marker;
}

// Each character is followed by the spaces that make its terminal columns match its paper
// columns, so the right edge stays straight.
QString runText(const TextRun& run) {
    QString text;
    for (const QChar character : run.text) {
        const int paperColumns = paper::columnsOf(character) * run.size.width;
        text += character + QString(paperColumns - terminalColumnsOf(character), QLatin1Char(' '));
    }
    return text;
}

QString paperLineText(const PaperLine& line) {
    const int leading = spaceBefore(line.alignment, std::max(0, paper::columns - line.columns()));
    QString content(leading, QLatin1Char(' '));
    for (const TextRun& run : line.runs) {
        content += runText(run);
    }
    const int trailing = paper::columns - leading - line.columns();
    content += QString(std::max(0, trailing), QLatin1Char(' '));
    return sizeMarker(line).rightJustified(gutterWidth) + QStringLiteral(" |") + content +
           QStringLiteral("|\n");
}

QString cutLine() {
    return QStringLiteral("✂") + QStringLiteral(" -").repeated((frameWidth - 1) / 2) +
           QLatin1Char('\n');
}

} // namespace

QString receiptText(const Receipt& receipt, const QString& printerName, int number) {
    QString text =
        QStringLiteral("=== %1 #%2 ===\n").arg(printerName).arg(number, 4, 10, QLatin1Char('0'));
    for (const PaperLine& line : receipt.lines) {
        text += paperLineText(line);
    }
    return text + cutLine();
}

QString drawerKickText(const QString& printerName) {
    return QStringLiteral("=== %1 [돈통 열림] ===\n").arg(printerName);
}
