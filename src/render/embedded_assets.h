// The tile pictures and the program icon, compiled into the program so the game needs
// no files beside it. The bytes come from assets/ through cmake/EmbedFiles.cmake.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace gravisk {

// The bytes of the file assets/<fileName> as compiled into the program ("dirt.bmp", ...,
// "gravisk.ico"); an empty span for a name that is not built in.
std::span<const std::uint8_t> embeddedAsset(std::string_view fileName);

}  // namespace gravisk
