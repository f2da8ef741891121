#include "http_exchange.h"

#include <QRegularExpression>

namespace {

QByteArray reasonPhrase(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 431:
        return "Request Header Fields Too Large";
    default:
        return "Error";
    }
}

} // namespace

std::optional<qsizetype> requestHeadLength(const QByteArray& received) {
    // Clients that end lines in a line feed alone are tolerated, as the standard allows.
    const qsizetype crLf = received.indexOf("\r\n\r\n");
    const qsizetype lf = received.indexOf("\n\n");
    if (crLf >= 0 && (lf < 0 || crLf < lf)) {
        return crLf + 4;
    }
    if (lf >= 0) {
        return lf + 2;
    }
    return std::nullopt;
}

std::optional<HttpRequestHead> parseRequestHead(const QByteArray& head) {
    static const QRegularExpression requestLine(
        QStringLiteral("^([A-Z]+) (/[^ ?]*)(\\?[^ ]*)? HTTP/1\\.[0-9]\r?\n"));
    const QRegularExpressionMatch match = requestLine.match(QString::fromLatin1(head));
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return HttpRequestHead{match.captured(1).toLatin1(), match.captured(2).toLatin1()};
}

QByteArray responseBytes(const HttpResponse& response, bool withBody) {
    QByteArray bytes = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' +
                       reasonPhrase(response.status) + "\r\n";
    bytes += "Content-Type: " + response.contentType + "\r\n";
    bytes += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    if (response.status == 405) {
        bytes += "Allow: GET, HEAD\r\n";
    }
    // The page runs no script and loads nothing; no one keeps an old status.
    bytes += "Content-Security-Policy: default-src 'none'; style-src 'unsafe-inline'\r\n"
             "X-Content-Type-Options: nosniff\r\n"
             "Cache-Control: no-store\r\n"
             "Connection: close\r\n\r\n";
    if (withBody) {
        bytes += response.body;
    }
    return bytes;
}

HttpResponse refusal(int status) {
    return HttpResponse{status, "text/plain; charset=utf-8",
                        QByteArray::number(status) + ' ' + reasonPhrase(status) + '\n'};
}
