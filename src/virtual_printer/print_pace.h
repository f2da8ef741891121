#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <functional>

// The print engine's clock: every 10 ms it hands on as many bytes as the speed allows for the
// time that really passed, so that a late timer does not slow printing down. A pause longer than
// a few ticks is not made up for.
class PrintPace {
public:
    PrintPace(int bytesPerSecond, std::function<void(qsizetype)> print);

    void start();
    void stop();

private:
    void tick();
    double catchUpBytes() const;
    void printAllowance();

    double bytesPerSecond_;
    std::function<void(qsizetype)> print_;
    QTimer timer_;
    QElapsedTimer sinceLastTick_;
    QElapsedTimer idleSince_;
    double allowance_ = 0;
};
