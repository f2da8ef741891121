#pragma once

#include <QByteArray>
#include <vector>

// Finds DLE EOT n (10 04 n, n = 1..4) in what the host sends, however the reads split it, and
// takes it out of the data: a printer answers these the moment it reads them, whatever waits in
// its buffer.
class RealTimeRequests {
public:
    // The data without the requests; the n of each request found goes to requests.
    QByteArray take(const QByteArray& bytes, std::vector<int>& requests);
    // The start of a request that the host never finished: data after all.
    QByteArray takeHeld();

private:
    QByteArray held_;
};
