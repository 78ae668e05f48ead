// The five tracks as the list names them and as the program carries them: every field of
// the table, and each file decoding to its exact length with sound right up to both ends,
// so that its loop closes without a gap.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/embedded_files_registration.h"
#include "app/music_disk.h"
#include "media/audio/decoder.h"
#include "media/resources/embedded_files.h"

namespace app {
namespace {

struct Track {
  const char16_t* name;
  const char16_t* time;
  const char16_t* composer;
  const char16_t* style;
  const char16_t* song;
  std::size_t frames;  // whole bars at the song's tempo, at 44.1 kHz
};

// clang-format off
const Track kTracks[] = {
    {u"Vortek 3", u"03:11", u"Ravenfel (Remix: Tosk)", u"Electronic", u"sound/VorWIP2.mp3",
     8434125},   // 102 bars at 128 BPM
    {u"BassWobbler", u"03:48", u"Fennick", u"DubStep", u"sound/fennick - basswobbler.mp3",
     10054800},  // 133 bars at 140 BPM
    {u"Nova", u"04:05", u"Morlane", u"Trance/Oldskool", u"sound/01.mp3",
     10815766},  // 140 bars at 137 BPM
    {u"Nova 2", u"04:04", u"Morlane", u"Trance/Oldskool", u"sound/03.mp3",
     10773677},  // 142 bars at 139.5 BPM
    {u"Gl\u00f8w", u"03:13", u"Fennick", u"Electronica", u"sound/fennick - glw.mp3",
     8515862},   // 84 bars at 104.4 BPM
};
// clang-format on

// The loudest sample of `frames` stereo frames from `first` on.
float Peak(const std::vector<float>& sound, std::size_t first, std::size_t frames) {
  float peak = 0.0f;
  for (std::size_t i = 2 * first; i < 2 * (first + frames); ++i) {
    peak = std::max(peak, std::abs(sound[i]));
  }
  return peak;
}

TEST(TrackList, EveryEntryAndTheMusicItPlays) {
  media::ResetEmbeddedFilesForTesting();
  RegisterApplicationFiles();
  AppState state;
  BuildTrackList(state);
  ASSERT_EQ(state.trackList.entries.size(), std::size(kTracks));
  int id = 1;
  for (const Track& track : kTracks) {
    const DemoList& entry = *state.trackList.entries[static_cast<std::size_t>(id - 1)];
    SCOPED_TRACE(std::string(entry.song.begin(), entry.song.end()));
    EXPECT_EQ(entry.id, id++);
    EXPECT_EQ(entry.name, track.name);
    EXPECT_EQ(entry.time, track.time);
    EXPECT_EQ(entry.composer, track.composer);
    EXPECT_EQ(entry.style, track.style);
    EXPECT_EQ(entry.song, track.song);

    media::BassError error = media::kBassOk;
    auto decoder = media::audio::OpenDecoder(
        media::EmbeddedFileData(entry.song),
        static_cast<std::int64_t>(media::EmbeddedFileSize(entry.song)), error);
    ASSERT_TRUE(decoder);
    ASSERT_EQ(decoder->sampleRate(), 44100);
    std::vector<float> sound(2 * (track.frames + 4096));
    std::size_t frames = 0;
    while (std::size_t got =
               decoder->Read(sound.data() + 2 * frames,
                             std::min<std::size_t>(4096, track.frames + 4096 - frames))) {
      frames += got;
    }
    // The encoder's delay and padding are not played: a file without the header that says
    // how long they are comes out longer, silent for 25 to 50 ms at the loop point.
    EXPECT_EQ(frames, track.frames);
    EXPECT_GT(Peak(sound, 0, 220), 0.005f) << "silence at the start";
    EXPECT_GT(Peak(sound, std::min(frames, track.frames) - 220, 220), 0.005f)
        << "silence at the end";
    // The time in the list is the length, to the second.
    const auto seconds = frames / 44100;
    char shown[32];
    std::snprintf(shown, sizeof shown, "%02zu:%02zu", seconds / 60, seconds % 60);
    EXPECT_EQ(std::u16string(shown, shown + std::strlen(shown)), entry.time);
  }
}

}  // namespace
}  // namespace app
