#include "tools/capture/frame_sink.h"

#include "tools/capture/mp4_sink.h"
#include "tools/capture/png_folder_sink.h"

namespace capture {

std::unique_ptr<FrameSink> MakeFrameSink(const CaptureOptions& options) {
  if (options.outputKind == OutputKind::kMp4) return std::make_unique<Mp4Sink>(options.output);
  return std::make_unique<PngFolderSink>(options.output);
}

}  // namespace capture
