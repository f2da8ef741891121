#pragma once

#include <QString>
#include <QVariant>
#include <array>
#include <optional>

// The numbered option lines of the settings column 기타옵션: slot n holds the value of line
// n + 1, converted to the slot's fixed type. Slots are filled once per run and never cleared.
class OtherOptions {
public:
    static constexpr int slotCount = 79;
    static constexpr int sqlPortSlot = 36;
    static constexpr int option72Slot = 71;

    // Fills the slots from the column's text (lines separated by CR LF). A line missing or a
    // value that does not read as its slot's type leaves that slot alone. Returns the
    // description of a value out of range, which stops the loading: that slot and all later
    // ones stay unchanged.
    std::optional<QString> load(const QString& columnText);

    QVariant slot(int index) const { return slots_.at(static_cast<std::size_t>(index)); }
    QString text(int index) const { return slot(index).toString(); }
    void setText(int index, const QString& value) {
        slots_.at(static_cast<std::size_t>(index)) = value;
    }

private:
    std::array<QVariant, slotCount> slots_;
};
