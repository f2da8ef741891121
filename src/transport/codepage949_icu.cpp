#include "codepage949_platform.h"

#include <QStringDecoder>
#include <QStringEncoder>

// Qt converts through ICU here. "windows-949" is Microsoft's table; ICU's "CP949" is IBM's and
// lacks the extended syllables such as 똠 and 뷁. ICU itself writes "?" for unmappable text.
namespace codepage949 {

namespace {
constexpr const char* encodingName = "windows-949";
}

std::string encode(std::u16string_view text) {
    QStringEncoder encoder(encodingName);
    const QByteArray bytes =
        encoder.encode(QStringView(text.data(), static_cast<qsizetype>(text.size())));
    return bytes.toStdString();
}

std::u16string decode(std::string_view bytes) {
    QStringDecoder decoder(encodingName);
    const QString text =
        decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return text.toStdU16String();
}

} // namespace codepage949
