#include "tools/capture/png_folder_sink.h"

#include <png.h>

#include <cstdio>
#include <regex>
#include <system_error>

namespace capture {

namespace {

// Frames of an earlier, longer capture into the same folder would read as part of this one.
void RemoveEarlierFrames(const std::filesystem::path& folder) {
  static const std::regex framePattern(R"(frame_\d{6,}\.png)");
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
    if (std::regex_match(entry.path().filename().string(), framePattern)) {
      std::filesystem::remove(entry.path(), ignored);
    }
  }
}

}  // namespace

std::string PngFolderSink::FrameFileName(std::int64_t frame) {
  char name[32];
  std::snprintf(name, sizeof name, "frame_%06lld.png", static_cast<long long>(frame));
  return name;
}

bool PngFolderSink::Open(std::string& error) {
  std::error_code failure;
  std::filesystem::create_directories(folder_, failure);
  if (failure || !std::filesystem::is_directory(folder_)) {
    error = "can't make the folder " + folder_.string() + ": " +
            (failure ? failure.message() : "something else has that name");
    return false;
  }
  RemoveEarlierFrames(folder_);
  return audio_.Open((folder_ / "audio.wav").string(), kSampleRate, error);
}

bool PngFolderSink::WriteFrame(std::int64_t frame, const std::uint8_t* rgb,
                               const std::int16_t* samples, std::string& error) {
  return WritePngPicture(folder_ / FrameFileName(frame), rgb, error) &&
         audio_.Append(samples, kSamplesPerFrame, error);
}

bool PngFolderSink::Finish(std::string& error) {
  return audio_.Close(error);
}

bool WritePngPicture(const std::filesystem::path& path, const std::uint8_t* rgb,
                     std::string& error) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = kPictureWidth;
  image.height = kPictureHeight;
  image.format = PNG_FORMAT_RGB;
  image.flags = PNG_IMAGE_FLAG_FAST;
  if (png_image_write_to_file(&image, path.c_str(), 0, rgb, kPictureWidth * 3, nullptr) == 0) {
    error = "can't write " + path.string() + ": " + image.message;
    png_image_free(&image);
    return false;
  }
  return true;
}

}  // namespace capture
