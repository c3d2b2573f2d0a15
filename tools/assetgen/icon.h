// The program icon writer: builds the bytes of gravisk.ico, which Windows uses through
// the resource file and the Linux front end decodes for its window icon.
#pragma once

#include "image_files.h"

namespace gravisk::assetgen {

// The whole .ico file: directory and the three images.
Bytes encodeIcon();

}  // namespace gravisk::assetgen
