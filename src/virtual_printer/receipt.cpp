#include "receipt.h"

#include "paper.h"

#include <algorithm>

int spaceBefore(Alignment alignment, int freeSpace) {
    switch (alignment) {
    case Alignment::Center:
        return freeSpace / 2;
    case Alignment::Right:
        return freeSpace;
    default:
        return 0;
    }
}

int TextRun::columns() const {
    int count = 0;
    for (const QChar character : text) {
        count += paper::columnsOf(character) * size.width;
    }
    return count;
}

int PaperLine::columns() const {
    int count = 0;
    for (const TextRun& run : runs) {
        count += run.columns();
    }
    return count;
}

int PaperLine::height() const {
    int tallest = 1;
    for (const TextRun& run : runs) {
        tallest = std::max(tallest, run.size.height);
    }
    return tallest;
}

bool PaperLine::hasInk() const {
    return std::any_of(runs.begin(), runs.end(),
                       [](const TextRun& run) { return !run.text.trimmed().isEmpty(); });
}

bool Receipt::hasInk() const {
    return std::any_of(lines.begin(), lines.end(),
                       [](const PaperLine& line) { return line.hasInk(); });
}
