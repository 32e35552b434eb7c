// The About window's picture animation: 87 steps, each showing one of the 30
// frames of the image list for its own time, looping for as long as the
// window is open. Kept apart from the window so the timing is testable.
#pragma once

#include <QtGlobal>

#include <array>

namespace Quorvath::Animation {

inline constexpr qint16 StepCount = 87;
inline constexpr qint16 PictureCount = 30;
// The timer's interval when the window loads: the wait before the first step.
inline constexpr int FirstInterval = 50;

// Indexed by step, 1 to 87; entry 0 stays 0 and is never read.
using FrameArray = std::array<qint16, StepCount + 1>;

// Writes the table as the window's load does: for each step in order, its
// picture position into `pictures` and its delay (ms) into `delays`.
void writeTable(FrameArray &pictures, FrameArray &delays);

// The step after `step`, the step shown last (0 before the first tick);
// after the last step the cycle starts again at step 1.
constexpr qint16 nextStep(qint16 step)
{
    // Anything outside 0..86 (only 87 in practice) starts a new cycle, so the
    // result always indexes the table.
    return (step >= 0 && step < StepCount) ? qint16(step + 1) : qint16(1);
}

} // namespace Quorvath::Animation
