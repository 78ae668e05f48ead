#include "app/embedded_files_registration.h"
#include "media/resources/stream_factory.h"

int main() {
  app::RegisterApplicationFiles();
  media::InitStreams();
  return 0;
}
