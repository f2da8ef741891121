#include "receipt_image.h"

#include "korean_font.h"
#include "paper.h"

#include <QPainter>
#include <algorithm>

namespace {

constexpr int lineSpacing = 6; // dots between the cells of two lines
constexpr int topMargin = 12;
constexpr int bottomMargin = 36;
constexpr int cutLineFromBottom = 14;
constexpr int glyphDots = 22; // a 24 dot cell with room between lines
constexpr double dotsPerInch = 203;
constexpr double pointsPerInch = 72;
constexpr double metresPerInch = 0.0254;
constexpr int scissorsPixelSize = 40;
constexpr int scissorsWidth = 36;

int lineHeight(const PaperLine& line) {
    return line.height() * paper::cellHeight + lineSpacing;
}

int imageHeight(const Receipt& receipt) {
    int height = topMargin + bottomMargin;
    for (const PaperLine& line : receipt.lines) {
        height += lineHeight(line);
    }
    return height;
}

void drawCharacter(QPainter& painter, QChar character, QPoint cellTop, CharacterSize size) {
    painter.save();
    painter.translate(cellTop);
    painter.scale(size.width, size.height);
    painter.drawText(
        QRectF(0, 0, paper::columnsOf(character) * paper::cellWidth, paper::cellHeight),
        Qt::AlignCenter, QString(character));
    painter.restore();
}

// Characters stand on a common base line, so a taller one reaches higher.
void drawLine(QPainter& painter, const PaperLine& line, int top) {
    const int baseLine = top + line.height() * paper::cellHeight;
    int x =
        spaceBefore(line.alignment, std::max(0, paper::width - line.columns() * paper::cellWidth));
    for (const TextRun& run : line.runs) {
        const int cellTop = baseLine - run.size.height * paper::cellHeight;
        for (const QChar character : run.text) {
            if (!character.isSpace()) {
                drawCharacter(painter, character, QPoint(x, cellTop), run.size);
            }
            x += paper::columnsOf(character) * paper::cellWidth * run.size.width;
        }
    }
}

// Scissors, then dashes across the paper, set apart from printed hyphens by their weight.
void drawCutLine(QPainter& painter, int height) {
    const int y = height - cutLineFromBottom;
    QFont scissorsFont = painter.font();
    scissorsFont.setPixelSize(scissorsPixelSize);
    painter.setFont(scissorsFont);
    painter.drawText(QRectF(0, y - paper::cellHeight, scissorsWidth, 2 * paper::cellHeight),
                     Qt::AlignCenter, QStringLiteral("✂"));
    painter.setPen(QPen(Qt::black, 2, Qt::DashLine));
    painter.drawLine(scissorsWidth, y, paper::width, y);
}

} // namespace

QImage receiptImage(const Receipt& receipt) {
    const int height = imageHeight(receipt);
    QImage image(paper::width, height, QImage::Format_Grayscale8);
    image.setDotsPerMeterX(qRound(dotsPerInch / metresPerInch));
    image.setDotsPerMeterY(qRound(dotsPerInch / metresPerInch));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(koreanFont(glyphDots * pointsPerInch / dotsPerInch, false));
    painter.setPen(Qt::black);
    int top = topMargin;
    for (const PaperLine& line : receipt.lines) {
        drawLine(painter, line, top);
        top += lineHeight(line);
    }
    drawCutLine(painter, height);
    return image;
}
