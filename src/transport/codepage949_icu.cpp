#include "codepage949_platform.h"

#include <QStringDecoder>
#include <QStringEncoder>

// Qt converts through ICU here. "windows-949" is Microsoft's table; ICU's "CP949" is IBM's and
// lacks the extended syllables such as 똠 and 뷁. ICU itself writes "?" for unmappable text.
//
// A lead byte or a high surrogate at the very end waits inside ICU for the rest of its character
// and is lost when the conversion ends. A line feed, never part of a character in either form, is
// converted after the text so that such an end counts as invalid like any other, then taken off.
namespace codepage949 {

namespace {
constexpr const char* encodingName = "windows-949";
}

std::string encode(std::u16string_view text) {
    const std::u16string ended = std::u16string(text) + u'\n';
    QStringEncoder encoder(encodingName);
    QByteArray bytes =
        encoder.encode(QStringView(ended.data(), static_cast<qsizetype>(ended.size())));
    bytes.chop(1);
    return bytes.toStdString();
}

std::u16string decode(std::string_view bytes) {
    const std::string ended = std::string(bytes) + '\n';
    QStringDecoder decoder(encodingName);
    QString text =
        decoder.decode(QByteArrayView(ended.data(), static_cast<qsizetype>(ended.size())));
    text.chop(1);
    return text.toStdU16String();
}

} // namespace codepage949
