#pragma once

#include "daily_logs.h"
#include "http_exchange.h"
#include "store_status.h"

#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <optional>

// The technician's read-only view of the store over HTTP: the status page at "/" and Prometheus
// metrics at "/metrics", answered on the UI thread between print cycles. Each answer is small
// and made at once; a client gets a few seconds and a few kilobytes for its request, and only
// a few clients are served at a time.
class StatusPage : public QObject {
    Q_OBJECT

public:
    using Clock = DailyLogs::Clock;

    StatusPage(const StoreStatus& status, const DailyLogs& logs,
               Clock clock = &QDateTime::currentDateTime);

    // `listenAt` is the value of the status page line in 환경설정.CFG; without one the page stays
    // off. A value that is no address and port, or one that cannot be listened on, is written
    // to the error log and leaves the page off.
    void open(const std::optional<QString>& listenAt);
    bool isListening() const { return server_.isListening(); }

private:
    void takeConnections();
    void serve(QTcpSocket* client);
    void readRequest(QTcpSocket* client, QByteArray& received);
    void answer(QTcpSocket* client, const HttpResponse& response, bool withBody);
    HttpResponse responseTo(const HttpRequestHead& request) const;

    const StoreStatus& status_;
    const DailyLogs& logs_;
    Clock clock_;
    QTcpServer server_;
};
