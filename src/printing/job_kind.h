#pragma once

#include <QString>

// Kinds of rows in the job table (출력물종류); any other value is a plain job.
namespace job_kind {

inline const QString orderSheet = QStringLiteral("주문서");
inline const QString kitchenMessage = QStringLiteral("주방메세지");
inline const QString ticket = QStringLiteral("티켓");
inline const QString cashDrawer = QStringLiteral("돈통열기");

// Order sheets and kitchen messages: full header, date stamp, print log line.
inline bool isOrderKind(const QString& kind) {
    return kind == orderSheet || kind == kitchenMessage;
}

} // namespace job_kind
