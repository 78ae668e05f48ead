// The application title: caption of the display window and of every message box.
#pragma once

#include <string>
#include <string_view>

namespace media {

void SetAppTitle(std::u16string_view title);
const std::u16string& AppTitle();

}  // namespace media
