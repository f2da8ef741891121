#pragma once

#include <QString>
#include <vector>

// What a kitchen printer puts on paper between two cuts, line by line.

enum class Alignment { Left, Center, Right };

// The part of a line's free space that goes before its text.
int spaceBefore(Alignment alignment, int freeSpace);

// Multipliers of font A's 12 x 24 dot cell.
struct CharacterSize {
    int width = 1;
    int height = 1;
    bool operator==(const CharacterSize&) const = default;
};

struct TextRun {
    QString text;
    CharacterSize size;

    int columns() const;
};

struct PaperLine {
    Alignment alignment = Alignment::Left;
    std::vector<TextRun> runs;

    int columns() const;
    // In normal line heights: the tallest character decides, an empty line feeds one.
    int height() const;
    bool hasInk() const;
};

struct Receipt {
    std::vector<PaperLine> lines;

    bool hasInk() const;
};
