// Audio output seam: the engine's mixer is a function of its state that an output device
// pulls finished stereo float frames from. The SDL device pulls from its callback thread;
// the hand-pulled device lets a test pull exact frames on its own thread.
// Depends on: nothing.
#pragma once

#include <string>

#include "media/audio/bass.h"

namespace media::audio {

// What a device pulls from (the engine implements it).
class AudioSource {
 public:
  virtual ~AudioSource() = default;
  // Fills `frames` interleaved stereo frames. Never blocks for long, never allocates.
  virtual void Render(float* out, int frames) = 0;
  // Tops up every stream's decode-ahead buffer. Devices without their own thread call it
  // before Render, so that hand-pulled output needs no decoder thread.
  virtual void DecodeAhead() = 0;
};

class OutputDevice {
 public:
  virtual ~OutputDevice() = default;
  // Starts pulling `source` at `rate` Hz stereo float. On failure returns why
  // (kBassErrorDriver: no output could be opened; kBassErrorDevice: no such device) and puts
  // the system's own message into `detail`.
  virtual BassError Open(int rate, AudioSource& source, std::string& detail) = 0;
  // Stops pulling; after it returns the source is never called again.
  virtual void Close() = 0;
  // Paused output is silent and does not pull the source. The setting holds across Close
  // and Open.
  virtual void SetPaused(bool paused) = 0;
  // Frames between the end of the last pulled block and what is heard now, at the moment
  // of the pull: the device's own buffering.
  virtual int LatencyFrames() const = 0;
  // True when the device calls DecodeAhead itself (no decoder thread is needed).
  virtual bool DecodesOnPull() const = 0;
  // True once the output has stopped for good: unplugged, or its sound system went away. A
  // lost device pulls nothing more, so the streams wait where they were; the engine then
  // closes it and opens it again (Close, then Open), keeping it paused if it was.
  virtual bool Lost() const { return false; }
  // Called on a thread other than the one that made the device, after it opened or closed
  // the device for the last time and before it ends: frees what the output system keeps for
  // that thread.
  virtual void ThreadDone() {}
};

}  // namespace media::audio
