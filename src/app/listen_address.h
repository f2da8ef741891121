#pragma once

#include <QHostAddress>
#include <QString>
#include <optional>

// An address and port to listen on, as a technician writes it: "127.0.0.1:8080", "0.0.0.0:8080"
// (every interface), "[::1]:8080".
struct ListenAddress {
    QHostAddress host;
    quint16 port = 0;
};

// Nothing unless the text is exactly a dotted IPv4 address, or an IPv6 address in brackets,
// then ":" and a port from 1 to 65535, without leading zeros or blanks.
std::optional<ListenAddress> parseListenAddress(const QString& text);
