// Runs the whole music disk without a screen or a sound card and hands every frame it shows
// and the sound of that frame to a sink. The disk runs as it always does, through its seams:
// SDL's dummy video (the software driver draws into memory), the audio engine on a
// hand-pulled output, the frame timeline as its clock, the question answered "No" (a
// window), keys injected at their frames, and an end hook that returns here instead of
// ending the process.
// Depends on: app (the disk), media (its seams), frame_timeline, frame_sink.
#pragma once

#include <string>

#include "tools/capture/capture_options.h"
#include "tools/capture/frame_sink.h"

namespace capture {

// Captures `options.frames` frames into `sink` (already opened) and finishes it. False with
// `error` set when the sink fails or the disk cannot start. The disk's main routine runs
// once per process, so this does too.
bool RunCapture(const CaptureOptions& options, FrameSink& sink, bool showProgress,
                std::string& error);

}  // namespace capture
