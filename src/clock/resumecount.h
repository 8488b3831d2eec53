#pragma once

// Resumptions posted by the clocks that have not run yet. A resumption posted while the event
// loop delivers another one waits for the loop's next pass; the virtual clock, which runs
// the loop only between its timers, passes again until none is left.
namespace ResumeCount {
void posted();
void ran();
int pending();
} // namespace ResumeCount
