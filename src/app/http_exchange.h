#pragma once

#include <QByteArray>
#include <optional>

// What the status page reads of an HTTP/1.x request: its request line. Headers are skipped and
// a body is never read.
struct HttpRequestHead {
    QByteArray method;
    QByteArray path; // the target without its query
};

struct HttpResponse {
    int status = 200;
    QByteArray contentType;
    QByteArray body;
};

// The length of the request head in what has come so far, up to and including the blank line
// that ends it; nothing while that line has not come.
std::optional<qsizetype> requestHeadLength(const QByteArray& received);

// Nothing unless the head begins with "<method> <target> HTTP/1.<digit>".
std::optional<HttpRequestHead> parseRequestHead(const QByteArray& head);

// The response as sent, telling the client that the connection closes after it; the answer to a
// HEAD request leaves out the body and keeps its length.
QByteArray responseBytes(const HttpResponse& response, bool withBody);

// A plain-text response for a refused request: "404 Not Found", ...
HttpResponse refusal(int status);
