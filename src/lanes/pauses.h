#pragma once

// The blocking waits that pace printing. Tests record them instead of sleeping through them.
class Pauses {
public:
    virtual ~Pauses() = default;
    virtual void wait(int ms) = 0;
};

// Blocks the calling thread, as the printers expect: nothing else runs meanwhile.
class SleepingPauses final : public Pauses {
public:
    void wait(int ms) override;
};
