#include "layout_playback.h"

#include "codepage949.h"
#include "pauses.h"

void playLayout(const LayoutSteps& steps, Pauses& pauses,
                const std::function<void(const QByteArray&)>& write) {
    for (const LayoutStep& step : steps) {
        if (step.kind == LayoutStep::Kind::Write) {
            write(toCodePage949(step.text));
        } else if (step.kind == LayoutStep::Kind::Wait) {
            pauses.wait(step.waitMs);
        }
    }
}
