#include "listen_address.h"

#include <QRegularExpression>
#include <limits>

namespace {

std::optional<QHostAddress> ipv4Address(const QString& text) {
    static const QRegularExpression dottedQuad(
        QStringLiteral("^((25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])\\.){3}"
                       "(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])$"));
    if (!dottedQuad.match(text).hasMatch()) {
        return std::nullopt;
    }
    return QHostAddress(text);
}

std::optional<QHostAddress> ipv6Address(const QString& text) {
    if (!text.startsWith('[') || !text.endsWith(']')) {
        return std::nullopt;
    }
    const QHostAddress address(text.mid(1, text.size() - 2));
    if (address.protocol() != QAbstractSocket::IPv6Protocol) {
        return std::nullopt;
    }
    return address;
}

std::optional<quint16> portNumber(const QString& text) {
    static const QRegularExpression digits(QStringLiteral("^[1-9][0-9]{0,4}$"));
    if (!digits.match(text).hasMatch() || text.toInt() > std::numeric_limits<quint16>::max()) {
        return std::nullopt;
    }
    return static_cast<quint16>(text.toInt());
}

} // namespace

std::optional<ListenAddress> parseListenAddress(const QString& text) {
    const qsizetype colon = text.lastIndexOf(':');
    if (colon < 0) {
        return std::nullopt;
    }
    const QString host = text.left(colon);
    std::optional<QHostAddress> address = ipv4Address(host);
    if (!address) {
        address = ipv6Address(host);
    }
    const std::optional<quint16> port = portNumber(text.mid(colon + 1));
    if (!address || !port) {
        return std::nullopt;
    }
    return ListenAddress{*address, *port};
}
