#pragma once

#include <QString>
#include <vector>

// A ticket as the printer receives it: writes of text, each turned into code page 949 on its
// way out, the pauses between them that let a slow printer keep up, and the points where the
// event loop runs once (network printers).
struct LayoutStep {
    enum class Kind { Write, Wait, ProcessEvents };

    Kind kind = Kind::Write;
    QString text;
    int waitMs = 0;

    static LayoutStep write(QString text) { return {Kind::Write, std::move(text), 0}; }
    static LayoutStep wait(int ms) { return {Kind::Wait, {}, ms}; }
    static LayoutStep processEvents() { return {Kind::ProcessEvents, {}, 0}; }
    bool operator==(const LayoutStep&) const = default;
};

using LayoutSteps = std::vector<LayoutStep>;
