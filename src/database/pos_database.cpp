#include "pos_database.h"

#include "connection_text.h"
#include "database_error.h"
#include "reachability.h"
#include "sql_text.h"
#include "value_conversion.h"

#include <QRegularExpression>
#include <limits>

namespace {

const QString databaseName = QStringLiteral("젤노포스식음");
const QString login = QStringLiteral("sa");
const QString password = QStringLiteral("vextrolam");
const QString defaultSqlPort = QString::number(defaultDatabasePort);
constexpr int loginTimeoutSeconds = 10;
constexpr int minimumReceiptDelayMs = 10;

QString descriptionOf(const std::exception& error) {
    return QString::fromUtf8(error.what());
}

qint16 receiptDelayFrom(const QVariant& value) {
    const std::optional<double> delay = numberOf(value);
    if (delay && *delay < minimumReceiptDelayMs) {
        return minimumReceiptDelayMs;
    }
    return toInt16(value, QStringLiteral("영수증딜레이타임"));
}

} // namespace

PosDatabase::PosDatabase(StoreIdentity store, ShowMessage showMessage)
    : store_(std::move(store)), showMessage_(std::move(showMessage)) {}

bool PosDatabase::connectDatabase() {
    connectionFailure_.clear();
    try {
        if (!openSqlServer(store_.dbServer, databaseName, login, password)) {
            return false;
        }
        return loadSettingsRow();
    } catch (const std::exception& error) {
        connectionFailure_ = descriptionOf(error);
        showMessage_(QStringLiteral("\r\n") + descriptionOf(error));
        return false;
    }
}

// Errors of the reachability check (a malformed address) reach connectDatabase, which shows
// them; everything after it fails silently and is retried by the caller.
bool PosDatabase::openSqlServer(const QString& server, const QString& database, const QString& user,
                                const QString& password) {
    if (server.isEmpty()) {
        connectionFailure_ = QStringLiteral("환경설정.CFG에 서버가 없습니다");
        return false;
    }
    if (!server.trimmed().isEmpty()) {
        icmp_echo::EchoReply reply;
        // Where the system gives no echo, the check tries the port the driver will connect to.
        const quint16 port =
            static_cast<quint16>(options_.text(OtherOptions::sqlPortSlot).toUInt());
        if (pingHost(server.toStdString(), reply, port != 0 ? port : defaultDatabasePort) < 0) {
            connectionFailure_ = QStringLiteral("서버 %1이(가) 응답하지 않습니다 (상태 %2)")
                                     .arg(server)
                                     .arg(reply.status);
            return false;
        }
    }
    try {
        if (options_.text(OtherOptions::sqlPortSlot).isEmpty()) {
            options_.setText(OtherOptions::sqlPortSlot, defaultSqlPort);
        }
        connection_ = std::make_unique<Connection>();
        lastConnectionText_ = connectionText(server, options_.text(OtherOptions::sqlPortSlot),
                                             database, user, password);
        if (!connection_->open(lastConnectionText_, loginTimeoutSeconds) ||
            !connection_->isOpen()) {
            connectionFailure_ = connection_->openFailure();
            return false;
        }
        connection_->learnRowIdentity(jobTable);
        return true;
    } catch (const std::exception& error) {
        connectionFailure_ = descriptionOf(error);
        return false;
    }
}

bool PosDatabase::loadSettingsRow() {
    const QString statement = QStringLiteral("Select * From 환경설정 Where 매장코드 = '") +
                              quotedValue(store_.storeCode) + QStringLiteral("' and POSID = '") +
                              quotedValue(store_.posId) + QStringLiteral("'");
    bool found = false;
    try {
        settingsRow_.reset();
        ResultSet rows = connection().query(statement);
        if (rows.empty()) {
            connectionFailure_ = QStringLiteral("환경설정에 매장코드 %1, POSID %2의 행이 없습니다")
                                     .arg(store_.storeCode, store_.posId);
            return false;
        }
        settingsRow_ = std::move(rows.front());
        found = true;
        receiptDelayMs_ = receiptDelayFrom(settingsRow_->value(QStringLiteral("영수증딜레이타임")));
    } catch (const std::exception& error) {
        if (!found) {
            connectionFailure_ = descriptionOf(error);
        }
        showMessage_(QStringLiteral("\r\n") + descriptionOf(error));
    }
    return found;
}

std::optional<QString> PosDatabase::loadOtherOptions() {
    try {
        const std::optional<QString> failure =
            options_.load(settings().text(QStringLiteral("기타옵션")));
        if (failure) {
            showMessage_(*failure);
        }
    } catch (const std::exception& error) {
        showMessage_(descriptionOf(error));
    }
    return refuseUnusableSqlPort();
}

// The port is spliced into the connection text: anything but a port number could carry
// further connection keywords (another server, another login) to the driver.
std::optional<QString> PosDatabase::refuseUnusableSqlPort() {
    const QString port = options_.text(OtherOptions::sqlPortSlot);
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}$"));
    if (port.isEmpty() || (digits.match(port).hasMatch() && port.toInt() >= 1 &&
                           port.toInt() <= std::numeric_limits<quint16>::max())) {
        return std::nullopt;
    }
    options_.setText(OtherOptions::sqlPortSlot, QString());
    return QStringLiteral(
               "기타옵션 37번째 줄의 SQL 포트 '%1'은(는) 포트 번호가 아니어서 %2 포트를 씁니다")
        .arg(port, defaultSqlPort);
}

void PosDatabase::closeConnection() {
    if (connection_) {
        connection_->close();
    }
    connection_.reset();
}

Connection& PosDatabase::connection() {
    if (!connection_) {
        throw DatabaseError(DatabaseError::lostConnection,
                            QStringLiteral("데이타베이스에 연결되어 있지 않습니다"));
    }
    return *connection_;
}

const Row& PosDatabase::settings() const {
    if (!settingsRow_) {
        throw DatabaseError(DatabaseError::noCurrentRow,
                            QStringLiteral("환경설정에 이 매장과 POS의 행이 없습니다"));
    }
    return *settingsRow_;
}

QString withoutPassword(const QString& text) {
    static const QRegularExpression connectionTextWithPassword(
        QStringLiteral("DRIVER\\s*=.*PWD\\s*=[^;\\r\\n]*;?"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression passwordItem(QStringLiteral("PWD\\s*=[^;\\r\\n]*"),
                                                 QRegularExpression::CaseInsensitiveOption);
    QString shown = text;
    shown.replace(connectionTextWithPassword, QStringLiteral("(연결 문자열)"));
    shown.replace(passwordItem, QStringLiteral("PWD=***"));
    shown.replace(password, QStringLiteral("***"), Qt::CaseInsensitive);
    return shown;
}
