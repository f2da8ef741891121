#include "terminal_columns.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

// East Asian wide and full-width ranges of the Basic Multilingual Plane, the only plane code
// page 949 reaches.
constexpr std::array<std::pair<char16_t, char16_t>, 9> wideRanges{{
    {0x1100, 0x115F}, // Hangul Jamo leading consonants
    {0x2E80, 0x303E}, // CJK radicals, ideographic punctuation
    {0x3041, 0x33FF}, // kana, Hangul compatibility Jamo, enclosed and squared CJK
    {0x3400, 0x4DBF}, // CJK extension A
    {0x4E00, 0x9FFF}, // CJK ideographs
    {0xAC00, 0xD7A3}, // Hangul syllables
    {0xF900, 0xFAFF}, // CJK compatibility ideographs
    {0xFF00, 0xFF60}, // full-width forms
    {0xFFE0, 0xFFE6}, // full-width signs
}};

} // namespace

int terminalColumnsOf(QChar character) {
    const char16_t code = character.unicode();
    const bool wide = std::any_of(wideRanges.begin(), wideRanges.end(), [code](const auto& range) {
        return code >= range.first && code <= range.second;
    });
    return wide ? 2 : 1;
}
