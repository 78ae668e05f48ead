// The audio wrapper the program calls: device set-up and release, whole-output pause and
// start, and stream channels over embedded bytes. Behind it runs our own engine (decoding,
// mixing, slides, FFT) on its own threads; the program only calls in.
// Depends on: the audio engine in this folder.
#pragma once

#include <cstdint>
#include <memory>

namespace media {

// Error codes returned by TBass::ErrorGetCode after a failed call.
enum BassError : int {
  kBassOk = 0,
  kBassErrorMemory = 1,         // out of memory
  kBassErrorDriver = 3,         // no output could be opened
  kBassErrorHandle = 5,         // not a valid channel
  kBassErrorInit = 8,           // the device is not initialised
  kBassErrorStart = 9,          // the output is paused or stopped and could not be started
  kBassErrorAlready = 14,       // already initialised / already paused
  kBassErrorIllegalParam = 20,  // a parameter is out of range
  kBassErrorDevice = 23,        // unknown device number
  kBassErrorNotAvailable = 37,  // the requested feature is not offered
  kBassErrorFileFormat = 41,    // data in an unsupported or unrecognised format
  kBassErrorEnded = 45,         // the channel has ended
  kBassErrorUnknown = -1,
};

// Channel attributes for SlideAttribute and IsSliding.
enum BassAttribute : int {
  kBassAttribAny = 0,
  kBassAttribFrequency = 1,  // playback rate in Hz
  kBassAttribVolume = 2,     // 0..1; a negative slide target fades to silence
};

// Flags of TBassStream::CreateMem.
enum BassStreamFlags : int {
  kBassSampleLoop = 4,            // loop sample-exactly at the end
  kBassStreamAutoFree = 0x40000,  // free the stream when it is stopped
};

// GetData request for a 512-sample FFT: 256 float magnitudes.
constexpr std::uint32_t kBassDataFft512 = 0x80000001u;

class TBass {
 public:
  // Opens the output (device -1 = the default) at `freq` Hz, stereo float. Non-zero on
  // success; 0 with ErrorGetCode telling why.
  static int Init(int device, int freq, int flags, void* window, const void* classId);
  // Closes the output and frees every channel.
  static int Free();
  // Stores the 3D distance, roll-off and Doppler factors; succeeds once initialised.
  static int Set3DFactors(float distance, float rolloff, float doppler);
  // The engine has no environmental reverb: a request for none (a reverb mix of 0, or -1 to
  // keep the current one, which is none) succeeds; asking for any reverb returns 0 with
  // kBassErrorNotAvailable.
  static int SetEAXParameters(int environment, float volume, float decay, float damping);
  // The error of the last failed call on this thread (kBassOk after a success).
  static int ErrorGetCode();
  // The whole output falls silent (Pause) and resumes (Start).
  static int Pause();
  static int Start();
};

class TBassChannel {
 public:
  virtual ~TBassChannel() = default;  // never frees the engine's channel

  // Starts or resumes playback; restart 0 keeps the current position.
  int Play(int restart);
  int Stop();
  // Slides `attribute` to `value` over `ms` milliseconds; replaces a running slide of it.
  int SlideAttribute(int attribute, float value, int ms);
  // Non-zero while a slide of `attribute` (0 = any) runs.
  int IsSliding(int attribute);
  // Fills `buffer` as `length` asks (kBassDataFft512: 256 floats). Returns bytes written or -1.
  int GetData(void* buffer, std::uint32_t length);

  std::uint32_t handle = 0;  // the engine's channel handle; 0 = none
};

class TBassStream : public TBassChannel, public std::enable_shared_from_this<TBassStream> {
 public:
  // Creates a stream read in place from `length` bytes at `memory` (MP3 or Ogg Vorbis).
  // Returns this object holding the new handle, or null when no stream could be made.
  std::shared_ptr<TBassStream> CreateMem(const void* memory, std::int64_t length, int flags);
};

}  // namespace media
