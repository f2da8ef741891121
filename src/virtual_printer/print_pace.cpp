#include "print_pace.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int tickMs = 10;
constexpr double longestCatchUpSeconds = 0.05;

} // namespace

PrintPace::PrintPace(int bytesPerSecond, std::function<void(qsizetype)> print)
    : bytesPerSecond_(bytesPerSecond), print_(std::move(print)) {
    timer_.setInterval(tickMs);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
}

// An idle printer starts on what arrives at once, with what it could have printed while it
// stood still: a thermal head prints a short line before the next tick would come.
void PrintPace::start() {
    if (!timer_.isActive()) {
        const double idleSeconds =
            idleSince_.isValid() ? static_cast<double>(idleSince_.elapsed()) / 1000 : 1.0;
        allowance_ = std::min(allowance_ + idleSeconds * bytesPerSecond_, catchUpBytes());
        sinceLastTick_.start();
        timer_.start();
        printAllowance();
    }
}

void PrintPace::stop() {
    if (timer_.isActive()) {
        timer_.stop();
        idleSince_.start();
    }
}

void PrintPace::tick() {
    const double seconds = static_cast<double>(sinceLastTick_.restart()) / 1000;
    allowance_ = std::min(allowance_ + seconds * bytesPerSecond_, catchUpBytes());
    printAllowance();
}

double PrintPace::catchUpBytes() const {
    return std::max(1.0, bytesPerSecond_ * longestCatchUpSeconds);
}

void PrintPace::printAllowance() {
    const double whole = std::floor(allowance_);
    if (whole >= 1) {
        allowance_ -= whole;
        print_(static_cast<qsizetype>(whole));
    }
}
