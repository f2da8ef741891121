#include "codepage949_platform.h"

#include <algorithm>
#include <windows.h>

// Code page 949 as Windows itself converts it, extended syllables included. Windows writes "?"
// per UTF-16 unit and its own substitute for broken bytes; both are evened out here so that a
// character the code page lacks is one "?" and a broken byte sequence one U+FFFD, as everywhere.
namespace codepage949 {

namespace {

constexpr UINT codePage = 949;
constexpr char16_t replacement = u'\uFFFD';

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The code page holds nothing beyond the first Unicode plane: such a character becomes one "?".
std::u16string withinFirstPlane(std::u16string_view text) {
    std::u16string kept;
    kept.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            kept += u'?';
            ++i;
        } else {
            kept += text[i];
        }
    }
    return kept;
}

// Converts a piece that must be valid; empty when it is not.
std::u16string decodeStrict(std::string_view bytes) {
    const int length = static_cast<int>(bytes.size());
    const int size =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    std::u16string text(static_cast<std::size_t>(std::max(size, 0)), u'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length,
                        reinterpret_cast<wchar_t*>(text.data()), size);
    return text;
}

// Character by character, so that only the broken ones are replaced.
std::u16string decodeEach(std::string_view bytes) {
    std::u16string text;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const std::size_t width =
            byte >= 0x80 && IsDBCSLeadByteEx(codePage, byte) && i + 1 < bytes.size() ? 2 : 1;
        const std::u16string character = decodeStrict(bytes.substr(i, width));
        text += character.empty() ? std::u16string(1, replacement) : character;
        i += width;
    }
    return text;
}

} // namespace

std::string encode(std::u16string_view text) {
    if (text.empty()) {
        return {};
    }
    const std::u16string kept = withinFirstPlane(text);
    const auto* wide = reinterpret_cast<const wchar_t*>(kept.data());
    const int length = static_cast<int>(kept.size());
    const int size =
        WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0, "?", nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, length, bytes.data(), size, "?",
                        nullptr);
    return bytes;
}

std::u16string decode(std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    std::u16string text = decodeStrict(bytes);
    return text.empty() ? decodeEach(bytes) : text;
}

} // namespace codepage949
