#include "status_page.h"

#include "config_file.h"
#include "listen_address.h"
#include "operator_journal.h"
#include "socket_platform.h"
#include "status_html.h"
#include "status_metrics.h"

#include <QTimer>
#include <memory>

namespace {

const QString procedureName = QStringLiteral("상태페이지");
constexpr int maxConnections = 8;
constexpr qint64 maxRequestBytes = 8192;
constexpr int connectionTimeLimitMs = 5000;
constexpr int errorLogLinesShown = 10;

QString urlOf(const ListenAddress& address) {
    const QString host = address.host.protocol() == QAbstractSocket::IPv6Protocol
                             ? '[' + address.host.toString() + ']'
                             : address.host.toString();
    return QStringLiteral("http://%1:%2/").arg(host, QString::number(address.port));
}

} // namespace

StatusPage::StatusPage(const StoreStatus& status, const DailyLogs& logs, Clock clock)
    : status_(status), logs_(logs), clock_(std::move(clock)) {
    connect(&server_, &QTcpServer::newConnection, this, &StatusPage::takeConnections);
}

void StatusPage::open(const std::optional<QString>& listenAt) {
    if (!listenAt) {
        return;
    }
    const std::optional<ListenAddress> address = parseListenAddress(*listenAt);
    if (!address) {
        logs_.writeErrorLog(
            procedureName, QStringLiteral("%1의 %2 '%3'은(는) 주소:포트가 아니어서 (예: "
                                          "127.0.0.1:8080, [::1]:8080) 상태 페이지를 열지 않습니다")
                               .arg(configFileName, statusPageKey, *listenAt));
        return;
    }
    if (!server_.listen(address->host, address->port)) {
        logs_.writeErrorLog(procedureName, QStringLiteral("상태 페이지를 %1에서 열 수 없습니다: %2")
                                               .arg(urlOf(*address), server_.errorString()));
        return;
    }
    writeToJournal(QStringLiteral("상태 페이지를 엽니다 (%1)").arg(urlOf(*address)));
}

// Clients beyond the limit are dropped at once: a slow or hostile client can hold a few
// connections for a few seconds, never the program.
void StatusPage::takeConnections() {
    while (server_.hasPendingConnections()) {
        QTcpSocket* client = server_.nextPendingConnection();
        if (server_.findChildren<QTcpSocket*>(Qt::FindDirectChildrenOnly).size() > maxConnections) {
            client->abort();
            client->deleteLater();
            continue;
        }
        serve(client);
    }
}

void StatusPage::serve(QTcpSocket* client) {
    client->setReadBufferSize(maxRequestBytes);
    auto* deadline = new QTimer(client);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, client, [client] {
        client->abort();
        client->deleteLater();
    });
    deadline->start(connectionTimeLimitMs);
    connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
    auto received = std::make_shared<QByteArray>();
    connect(client, &QTcpSocket::readyRead, this,
            [this, client, received] { readRequest(client, *received); });
}

void StatusPage::readRequest(QTcpSocket* client, QByteArray& received) {
    received += client->read(maxRequestBytes - received.size());
    const std::optional<qsizetype> headLength = requestHeadLength(received);
    if (!headLength) {
        if (received.size() >= maxRequestBytes) {
            answer(client, refusal(431), true);
        }
        return;
    }
    const std::optional<HttpRequestHead> request = parseRequestHead(received.left(*headLength));
    if (!request) {
        answer(client, refusal(400), true);
        return;
    }
    answer(client, responseTo(*request), request->method != "HEAD");
}

// Once the answer has left, the client reads its end; the connection goes when the client
// closes it or at the deadline. Closing at once would reset the connection while a request's
// body is still coming in, and the client could lose the answer. Whatever the client sends
// after its request stays unread.
void StatusPage::answer(QTcpSocket* client, const HttpResponse& response, bool withBody) {
    disconnect(client, &QTcpSocket::readyRead, this, nullptr);
    client->write(responseBytes(response, withBody));
    const auto endSendingOnceWritten = [client] {
        if (client->bytesToWrite() == 0) {
            QObject::disconnect(client, &QTcpSocket::bytesWritten, nullptr, nullptr);
            socket_platform::shutdownSending(client->socketDescriptor());
        }
    };
    connect(client, &QTcpSocket::bytesWritten, client, endSendingOnceWritten);
    client->flush();
    endSendingOnceWritten();
}

HttpResponse StatusPage::responseTo(const HttpRequestHead& request) const {
    if (request.method != "GET" && request.method != "HEAD") {
        return refusal(405);
    }
    if (request.path == "/") {
        return HttpResponse{
            200, "text/html; charset=utf-8",
            statusHtml(status_, logs_.lastErrorLogLines(errorLogLinesShown), clock_())};
    }
    if (request.path == "/metrics") {
        return HttpResponse{200, "text/plain; version=0.0.4; charset=utf-8",
                            statusMetrics(status_, clock_())};
    }
    return refusal(404);
}
