#include "cash_drawer.h"

#include "daily_logs.h"
#include "database_error.h"
#include "job_kind.h"
#include "kitchen_job_run.h"
#include "pos_database.h"
#include "printer_lanes.h"
#include "remembered_rows.h"
#include "sql_text.h"
#include "value_conversion.h"

#include <optional>
#include <stdexcept>

namespace {

const QString procedureName = QStringLiteral("돈통열기_PROC");

} // namespace

QByteArray drawerKickBytes(const QString& code) {
    QByteArray kick;
    for (qsizetype at = 0; at < code.size(); at += 3) {
        const QString group = code.mid(at, 3);
        bool ok = false;
        const int value = group.toInt(&ok);
        if (!ok || value < 0 || value > 255) {
            throw std::invalid_argument(
                QStringLiteral("돈통열기코드의 '%1'은(는) 바이트 값이 아닙니다 (%2)")
                    .arg(group, code)
                    .toStdString());
        }
        kick += static_cast<char>(value);
    }
    return kick;
}

QString CashDrawerJobs::selection() const {
    const StoreIdentity& store = context_.database.store();
    return QStringLiteral("Select * From 주방출력물  Where  매장코드 = '") +
           quotedValue(store.storeCode) +
           QStringLiteral("' and IP주소 = '127.0.0.1' and 프린터포트 <> '00000' and POSID = '") +
           quotedValue(store.posId) +
           QStringLiteral("' and 정리완료 = '1'  and 출력물종류 = '돈통열기' Order by 테이블번호 ");
}

// Only what this terminal selected: removing every terminal's requests would swallow another
// terminal's kick before it could open its drawer.
QString CashDrawerJobs::removal() const {
    const StoreIdentity& store = context_.database.store();
    return QStringLiteral("Delete From 주방출력물 Where 매장코드 = '") +
           quotedValue(store.storeCode) +
           QStringLiteral("' and IP주소 = '127.0.0.1' and 출력물종류  = '돈통열기' "
                          "and 프린터포트 <> '00000' and POSID = '") +
           quotedValue(store.posId) + QStringLiteral("' and 정리완료 = '1' ");
}

// While every pending request was kicked already (or none is pending), only their removal is
// tried; a new request kicks again. While a lane holds the kick, the tick leaves the requests
// alone: they go once the drawer opened.
void CashDrawerJobs::run() {
    if (kickHeld_) {
        return;
    }
    try {
        const QStringList requests = pendingRequests();
        RememberedRows& remembered = context_.rememberedRows;
        remembered.keepPresent(job_kind::cashDrawer, requests);
        const bool kickedBefore = remembered.rows(job_kind::cashDrawer).size() == requests.size();
        if (!kickedBefore) {
            handKick(requests);
            return;
        }
        removeRequests(requests, kickedBefore);
    } catch (const std::exception& error) {
        context_.logs.writeErrorLog(procedureName, QString::fromUtf8(error.what()));
    }
}

QStringList CashDrawerJobs::pendingRequests() {
    Connection& connection = context_.database.connection();
    QStringList rows;
    for (const Row& request : connection.query(selection())) {
        rows << connection.rowCondition(jobTable, request);
    }
    return rows;
}

// The error log hears once of requests that were kicked and would not go, not every tick.
void CashDrawerJobs::removeRequests(const QStringList& kicked, bool kickedBefore) {
    try {
        context_.database.connection().execute(removal());
        context_.rememberedRows.replace(job_kind::cashDrawer, {});
    } catch (const DatabaseError&) {
        context_.rememberedRows.replace(job_kind::cashDrawer, kicked);
        if (!kickedBefore) {
            throw;
        }
    }
}

// A terminal without a printer leaves the requests in the table.
void CashDrawerJobs::handKick(const QStringList& requests) {
    const Row& settings = context_.database.settings();
    const QString portText = settings.text(QStringLiteral("프린터포트"));
    if (portText.isEmpty() || portText.toUpper() == QLatin1String("NONE")) {
        return;
    }
    const qint16 portNumber = toInt16(portText.mid(3), QStringLiteral("프린터포트"));
    const QVariant code = settings.value(QStringLiteral("돈통열기코드"));
    if (code.isNull()) {
        throw std::invalid_argument("돈통열기코드가 비어 있습니다 (Null)");
    }
    LaneJob kick;
    kick.kind = LaneJob::Kind::drawerKick;
    kick.kick = drawerKickBytes(code.toString());
    kick.serialSettings = settings.text(QStringLiteral("프린터파라미터"));
    kick.done = [this, requests](const LaneOutcome& outcome) { finishKick(requests, outcome); };
    context_.lanes.handToSerialPort(portNumber, std::move(kick));
    kickHeld_ = true;
}

void CashDrawerJobs::finishKick(const QStringList& requests, const LaneOutcome& outcome) {
    kickHeld_ = false;
    if (outcome.result == LaneOutcome::Result::failed) {
        context_.logs.writeErrorLog(procedureName, outcome.description);
    } else if (outcome.result == LaneOutcome::Result::done) {
        removeKicked(requests);
    }
}

// Only the requests kicked: one filed while the kick waited its turn on the port opens the
// drawer with the next kick. The error log hears once per kick of requests that would not go.
void CashDrawerJobs::removeKicked(const QStringList& kicked) {
    QStringList notRemoved;
    std::optional<QString> failure;
    for (const QString& request : kicked) {
        try {
            if (context_.database.connection().deleteOneRow(jobTable, request) == 0) {
                notRemoved << request;
            }
        } catch (const DatabaseError& error) {
            notRemoved << request;
            failure = failure.value_or(error.description());
        }
    }
    context_.rememberedRows.replace(job_kind::cashDrawer, notRemoved);
    if (failure) {
        context_.logs.writeErrorLog(procedureName, *failure);
    }
}
