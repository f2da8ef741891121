#pragma once

#include "receipt.h"

#include <QByteArrayView>

// The printer's print buffer: characters land on the current line in the current size and
// justification until a line feed; a line fuller than the paper wraps like on paper.
class ReceiptBuilder {
public:
    void setAlignment(Alignment alignment) { alignment_ = alignment; }
    void setSize(CharacterSize size) { size_ = size; }
    void appendText(const QString& text);
    // Bytes the printer does not understand, printed as hex, e.g. "[1B 40]".
    void appendUnknown(QByteArrayView bytes);
    void endLine();
    // The receipt so far, with the unfinished line if it holds anything; the next one starts.
    Receipt takeReceipt();

private:
    void appendCharacter(QChar character);

    Receipt receipt_;
    PaperLine line_;
    int lineColumns_ = 0;
    Alignment alignment_ = Alignment::Left;
    CharacterSize size_;
};
