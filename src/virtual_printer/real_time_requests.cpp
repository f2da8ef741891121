#include "real_time_requests.h"

#include <utility>

namespace {

constexpr char dle = 0x10;
constexpr char eot = 0x04;
constexpr qsizetype requestLength = 3;

bool beginsRequest(QByteArrayView bytes) {
    return bytes.size() < requestLength && (bytes.size() == 1 || bytes[1] == eot);
}

// The n of the request at the front of bytes, 0 when it is none.
int requestNumber(QByteArrayView bytes) {
    if (bytes.size() < requestLength || bytes[1] != eot || bytes[2] < 1 || bytes[2] > 4) {
        return 0;
    }
    return bytes[2];
}

} // namespace

QByteArray RealTimeRequests::take(const QByteArray& bytes, std::vector<int>& requests) {
    const QByteArray input = std::exchange(held_, {}) + bytes;
    QByteArray data;
    qsizetype at = 0;
    while (at < input.size()) {
        const qsizetype found = input.indexOf(dle, at);
        data += QByteArrayView(input).sliced(at, (found < 0 ? input.size() : found) - at);
        if (found < 0) {
            break;
        }
        const QByteArrayView rest = QByteArrayView(input).sliced(found);
        if (beginsRequest(rest)) {
            held_ = rest.toByteArray();
            break;
        }
        const int n = requestNumber(rest);
        if (n != 0) {
            requests.push_back(n);
            at = found + requestLength;
        } else {
            data += dle;
            at = found + 1;
        }
    }
    return data;
}

QByteArray RealTimeRequests::takeHeld() {
    return std::exchange(held_, {});
}
