#include "app/embedded_files_registration.h"

#include "assets/embedded_assets.h"
#include "media/resources/embedded_files.h"

namespace app {

void RegisterApplicationFiles() {
  for (const assets::EmbeddedAsset& asset : assets::EmbeddedAssets()) {
    media::RegisterEmbeddedFile(asset.name, asset.begin, asset.size());
  }
}

}  // namespace app
