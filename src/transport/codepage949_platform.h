#pragma once

#include <string>
#include <string_view>

// Conversion between program text and the Korean ANSI code page 949 (Unified Hangul Code,
// extended syllables included), one implementation per platform. Characters the code page
// cannot hold become "?".
namespace codepage949 {

std::string encode(std::u16string_view text);
std::u16string decode(std::string_view bytes);

} // namespace codepage949
