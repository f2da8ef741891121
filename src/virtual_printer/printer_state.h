#pragma once

// What the printer's sensors and switches say.
enum class PaperLevel { In, NearEnd, Out };

struct PrinterState {
    PaperLevel paper = PaperLevel::In;
    bool coverOpen = false;
    bool switchedOffline = false;
    bool poweredOn = true;
    bool answers = true;

    // Paper out and an open cover take a printer offline, as its own switch does.
    bool offline() const { return switchedOffline || coverOpen || paper == PaperLevel::Out; }
    bool printing() const { return poweredOn && !offline(); }
};
