#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>

// The fuzzer's bytes as the text a settings column or a line of the configuration would hold.
inline QString inputText(const std::uint8_t* bytes, std::size_t size) {
    return QString::fromUtf8(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
}
