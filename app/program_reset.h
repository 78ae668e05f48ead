// Puts every layer's module state back as a fresh process has it, so that a test (or the
// capture tool) can run the program again: the audio engine freed, the display closed and the
// drawing layer's drivers, pacing and observer reset, the replaced clock, end, question and
// log hooks restored, polled input and the embedded files forgotten, the main routine
// runnable again. Flip hooks stay: whoever added one removes it.
// Depends on: every layer.
#pragma once

namespace app {

void ResetProgramState();

}  // namespace app
