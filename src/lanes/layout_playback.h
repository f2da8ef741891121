#pragma once

#include "layout_steps.h"

#include <QByteArray>
#include <functional>

class Pauses;

// Plays a ticket's layout out on a printer: each write in code page 949, each pause as a wait.
// The points where the layout lets the event loop run mean nothing on a lane: its thread serves
// no window and no timer.
void playLayout(const LayoutSteps& steps, Pauses& pauses,
                const std::function<void(const QByteArray&)>& write);
