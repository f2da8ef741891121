#include "first_setup.h"

#include "odbc_drivers.h"
#include "pos_database.h"
#include "reachability.h"

#include <QDir>
#include <QLibrary>
#include <QSaveFile>

namespace {

const QString driverName = QStringLiteral("SQL Server");

class Verdicts {
public:
    explicit Verdicts(QTextStream& out) : out_(out) {}

    void pass(const QString& what) { out_ << "통과  " << what << Qt::endl; }
    void fail(const QString& what, const QString& why) {
        out_ << "실패  " << what << ": " << why << Qt::endl;
        failed_ = true;
    }
    void skip(const QString& what, const QString& why) {
        out_ << "건너뜀  " << what << ": " << why << Qt::endl;
    }
    bool anyFailed() const { return failed_; }

private:
    QTextStream& out_;
    bool failed_ = false;
};

// A value with a line break, or with a character code page 949 cannot hold, would not come back
// as given when the program reads the file.
bool readsBackAsGiven(const QByteArray& contents, const ConfigFile& given) {
    const ConfigFile read = parseConfigFile(contents, configFileName);
    return read.storeCode == given.storeCode && read.posId == given.posId &&
           read.dbServer == given.dbServer;
}

bool writeConfigFile(const CommandLine& command, Verdicts& verdicts) {
    const QString path = QDir(command.programFolder).filePath(configFileName);
    const QString what = path + QStringLiteral(" 작성");
    const QByteArray contents = configFileContents(command.setup);
    if (!readsBackAsGiven(contents, command.setup)) {
        verdicts.fail(what,
                      QStringLiteral("코드 페이지 949로 쓸 수 없는 글자나 줄바꿈이 있습니다"));
        return false;
    }
    if (QFile::exists(path) && !command.overwrite) {
        verdicts.fail(what, QStringLiteral("파일이 이미 있습니다 (바꾸려면 --overwrite)"));
        return false;
    }
    QDir().mkpath(command.programFolder);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) < 0 || !file.commit()) {
        verdicts.fail(what, file.errorString());
        return false;
    }
    verdicts.pass(what);
    return true;
}

// The driver manager lists a driver whose library is gone as readily as a working one: the
// library itself is loaded.
void checkDriver(Verdicts& verdicts) {
    const QString what = QStringLiteral("ODBC 드라이버 \"%1\" 등록").arg(driverName);
    if (!registeredOdbcDrivers().contains(driverName)) {
        verdicts.fail(what, QStringLiteral("등록된 드라이버가 없습니다 (odbcinst -q -d)"));
        return;
    }
    const std::optional<QString> library = odbcDriverLibrary(driverName);
    if (!library) {
        verdicts.fail(what, QStringLiteral("등록에 드라이버 라이브러리(Driver=)가 없습니다"));
        return;
    }
    QLibrary driver(*library);
    if (!driver.load()) {
        verdicts.fail(what, QStringLiteral("라이브러리 %1을(를) 읽을 수 없습니다: %2")
                                .arg(*library, driver.errorString()));
        return;
    }
    // Left loaded: the connection check next loads it again through the driver manager.
    verdicts.pass(what + QStringLiteral(", 라이브러리 %1 읽힘").arg(*library));
}

QString howChecked(const icmp_echo::EchoReply& reply) {
    return reply.byConnection ? QStringLiteral("TCP 포트 %1 연결 시도").arg(defaultDatabasePort)
                              : QStringLiteral("ICMP 에코");
}

// The server must be a host name or an IPv4 address: a named instance (host\instance), a port
// after a comma or an IPv6 address is no address the check, or the program, can reach.
bool checkServerAnswers(const QString& server, Verdicts& verdicts) {
    const QString what = QStringLiteral("서버 %1 응답").arg(server);
    try {
        icmp_echo::EchoReply reply;
        const std::int32_t answeredMs = pingHost(server.toStdString(), reply);
        if (answeredMs >= 0) {
            verdicts.pass(what +
                          QStringLiteral(" (%1, %2 ms)").arg(howChecked(reply)).arg(answeredMs));
            return true;
        }
        if (reply.status == icmp_echo::statusBadDestination) {
            verdicts.fail(what, QStringLiteral("주소로 쓸 수 없습니다: 이름을 찾지 못했거나 호스트 "
                                               "이름·IPv4 주소가 아닙니다 (상태 %1)")
                                    .arg(reply.status));
        } else {
            verdicts.fail(what, QStringLiteral("200 ms 안에 응답이 없습니다 (%1, 상태 %2)")
                                    .arg(howChecked(reply))
                                    .arg(reply.status));
        }
    } catch (const std::exception& error) {
        verdicts.fail(what, QString::fromUtf8(error.what()));
    }
    return false;
}

bool isConnected(PosDatabase& database) {
    try {
        return database.connection().isOpen();
    } catch (const std::exception&) {
        return false;
    }
}

// The program's own connection and settings statement: what passes here is what the program
// finds when it starts.
void checkDatabase(const ConfigFile& config, Verdicts& verdicts) {
    QStringList notices;
    PosDatabase database(StoreIdentity{config.storeCode, config.posId, config.dbServer},
                         [&notices](const QString& text) { notices << text.trimmed(); });
    const bool ready = database.connectDatabase();
    const QString connection =
        QStringLiteral("데이타베이스 연결 (%1, 데이타베이스 젤노포스식음)").arg(config.dbServer);
    const QString row =
        QStringLiteral("환경설정 행 (매장코드 %1, POSID %2)").arg(config.storeCode, config.posId);
    if (ready) {
        verdicts.pass(connection);
        verdicts.pass(row);
    } else if (isConnected(database)) {
        verdicts.pass(connection);
        verdicts.fail(row, notices.isEmpty() ? QStringLiteral("행이 없습니다") : notices.join(' '));
    } else {
        const QString reason = database.connectionFailure().isEmpty()
                                   ? notices.join(' ')
                                   : database.connectionFailure();
        verdicts.fail(connection, QStringLiteral("연결할 수 없습니다: ") + reason);
    }
    database.closeConnection();
}

int checkWhatTheProgramNeeds(const ConfigFile& config, Verdicts& verdicts) {
    checkDriver(verdicts);
    if (checkServerAnswers(config.dbServer, verdicts)) {
        checkDatabase(config, verdicts);
    } else {
        verdicts.skip(QStringLiteral("데이타베이스 연결"),
                      QStringLiteral("서버가 응답하지 않아 연결하지 않습니다"));
    }
    return verdicts.anyFailed() ? 1 : 0;
}

} // namespace

int runFirstSetup(const CommandLine& command, QTextStream& out) {
    Verdicts verdicts(out);
    if (!writeConfigFile(command, verdicts)) {
        return 1;
    }
    return checkWhatTheProgramNeeds(command.setup, verdicts);
}

int runSetupChecks(const CommandLine& command, QTextStream& out) {
    Verdicts verdicts(out);
    const QString path = QDir(command.programFolder).filePath(configFileName);
    try {
        const ConfigFile config = readConfigFile(path);
        verdicts.pass(path + QStringLiteral(" 읽기 (매장코드 %1, POSID %2, 서버 %3)")
                                 .arg(config.storeCode, config.posId, config.dbServer));
        return checkWhatTheProgramNeeds(config, verdicts);
    } catch (const std::exception& error) {
        verdicts.fail(path + QStringLiteral(" 읽기"), QString::fromUtf8(error.what()));
        return 1;
    }
}
