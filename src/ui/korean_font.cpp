#include "korean_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

QString koreanFamily() {
    const QStringList installed = QFontDatabase::families();
    for (const QString& family :
         {QStringLiteral("굴림체"), QStringLiteral("GulimChe"), QStringLiteral("NanumGothicCoding"),
          QStringLiteral("NanumGothic"), QStringLiteral("Noto Sans CJK KR")}) {
        if (installed.contains(family)) {
            return family;
        }
    }
    return QStringLiteral("굴림체");
}

} // namespace

QFont koreanFont(qreal pointSize, bool bold) {
    static const QString family = koreanFamily();
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}
