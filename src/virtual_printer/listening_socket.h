#pragma once

#include <QHostAddress>

// A non-blocking TCP listening socket that takes the address again at once after a restart.
// Its small receive buffer, which accepted connections inherit, makes the TCP window close soon
// after the printer stops reading. Throws std::runtime_error when the address cannot be taken.
int openListeningSocket(const QHostAddress& address, quint16 port);
