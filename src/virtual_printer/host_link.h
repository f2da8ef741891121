#pragma once

#include <QtGlobal>
#include <optional>

// The printer's interface to the print server (serial line or network), as the control socket
// works it.
class HostLink {
public:
    HostLink() = default;
    HostLink(const HostLink&) = delete;
    HostLink& operator=(const HostLink&) = delete;
    virtual ~HostLink() = default;

    virtual void powerOff() = 0;
    // Throws std::runtime_error when the interface cannot come back.
    virtual void powerOn() = 0;
    // Resets the connection once that many more bytes came in on it, 0 meaning the next read;
    // false where there is no connection to reset.
    virtual bool resetAfter(qint64 bytes) = 0;
    // Bytes still to come before that reset, none when no reset waits.
    virtual std::optional<qint64> pendingReset() const = 0;
    virtual int connections() const = 0;
};
