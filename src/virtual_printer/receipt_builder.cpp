#include "receipt_builder.h"

#include "paper.h"

void ReceiptBuilder::appendText(const QString& text) {
    for (const QChar character : text) {
        appendCharacter(character);
    }
}

void ReceiptBuilder::appendUnknown(QByteArrayView bytes) {
    appendText(QLatin1Char('[') + QString::fromLatin1(bytes.toByteArray().toHex(' ').toUpper()) +
               QLatin1Char(']'));
}

void ReceiptBuilder::endLine() {
    if (line_.runs.empty()) {
        line_.alignment = alignment_;
    }
    receipt_.lines.push_back(std::move(line_));
    line_ = {};
    lineColumns_ = 0;
}

Receipt ReceiptBuilder::takeReceipt() {
    if (!line_.runs.empty()) {
        endLine();
    }
    Receipt finished = std::move(receipt_);
    receipt_ = {};
    return finished;
}

// Justification is taken when a line starts: a change in the middle of a line holds from the
// next one.
void ReceiptBuilder::appendCharacter(QChar character) {
    const int columns = paper::columnsOf(character) * size_.width;
    if (!line_.runs.empty() && lineColumns_ + columns > paper::columns) {
        endLine();
    }
    if (line_.runs.empty()) {
        line_.alignment = alignment_;
    }
    if (line_.runs.empty() || line_.runs.back().size != size_) {
        line_.runs.push_back({{}, size_});
    }
    line_.runs.back().text += character;
    lineColumns_ += columns;
}
