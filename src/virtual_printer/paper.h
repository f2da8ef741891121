#pragma once

#include <QChar>

// An 80 mm printer with font A: 48 columns of 12 dots on 576 printable dots.
namespace paper {

constexpr int columns = 48;
constexpr int cellWidth = 12;
constexpr int cellHeight = 24;
constexpr int width = columns * cellWidth;

// Code page 949 prints every two-byte character, Hangul or symbol, in a full 24 dot cell.
inline int columnsOf(QChar character) {
    return character.unicode() < 0x80 ? 1 : 2;
}

} // namespace paper
