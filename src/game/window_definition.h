// The game window as it is created at start and at every reload: its title,
// its client area and the seven elements it holds before the board is built.
#pragma once

#include <span>
#include <string_view>

#include "board/board.h"

namespace gravisk {

inline constexpr std::string_view kWindowTitle = "Gravisk V2.0";
inline constexpr std::string_view kAppTitle = "Gravisk";  // the message box's title

inline constexpr float kClientWidthTwips = 6030.0f;
inline constexpr float kClientHeightTwips = 3015.0f;
inline constexpr int kClientWidth = 402;   // pixels
inline constexpr int kClientHeight = 201;  // pixels

// The window's own elements, front (drawn last) to back: Hero, Grass(0),
// Wall(0), Door, Rock(0), Number(0), Dirt(0).
std::span<const DefinedElement> windowDefinition();

}  // namespace gravisk
