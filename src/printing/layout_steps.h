#pragma once

#include <QString>
#include <vector>

// A ticket as the printer receives it: writes of text, each turned into code page 949 on its
// way out, and the pauses between them that let a slow printer keep up.
struct LayoutStep {
    enum class Kind { Write, Wait };

    Kind kind = Kind::Write;
    QString text;
    int waitMs = 0;

    static LayoutStep write(QString text) { return {Kind::Write, std::move(text), 0}; }
    static LayoutStep wait(int ms) { return {Kind::Wait, {}, ms}; }
    bool operator==(const LayoutStep&) const = default;
};

using LayoutSteps = std::vector<LayoutStep>;
