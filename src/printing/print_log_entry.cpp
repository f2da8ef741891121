#include "print_log_entry.h"

#include "row.h"

#include <QDateTime>

namespace {

QString orderTimeOf(const Row& job) {
    const QVariant value = job.value(QStringLiteral("주문일시"));
    if (value.typeId() == QMetaType::QDateTime) {
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    return value.isNull() ? QString() : value.toString();
}

} // namespace

QString printLogEntry(const Row& job) {
    QString content = job.text(QStringLiteral("프린트내용"));
    content.replace(QLatin1String("\r\n"), QLatin1String(" "));
    return orderTimeOf(job) + QStringLiteral(" 테이블번호 : ") +
           job.text(QStringLiteral("테이블번호")) + QStringLiteral(" 프린터명 : ") +
           job.text(QStringLiteral("프린터명")) + ' ' + job.text(QStringLiteral("IP주소")) +
           QStringLiteral(" 주문내용 : ") + content;
}
