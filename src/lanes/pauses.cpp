#include "pauses.h"

#include <QThread>

void SleepingPauses::wait(int ms) {
    if (ms > 0) {
        QThread::msleep(static_cast<unsigned long>(ms));
    }
}
