// Software drawing of the client area: the background, then every visible
// image element in drawing order, clipped to the part being drawn.
#include "render/renderer.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "render/embedded_assets.h"

namespace gravisk {
namespace {

PixelRect intersect(PixelRect a, PixelRect b) {
  const int x0 = std::max(a.x, b.x);
  const int y0 = std::max(a.y, b.y);
  const int x1 = std::min(a.x + a.w, b.x + b.w);
  const int y1 = std::min(a.y + a.h, b.y + b.h);
  if (x1 <= x0 || y1 <= y0) return {x0, y0, 0, 0};
  return {x0, y0, x1 - x0, y1 - y0};
}

constexpr PixelRect kClient{0, 0, Frame::kWidth, Frame::kHeight};

}  // namespace

std::string_view pictureFile(Picture picture) {
  static constexpr std::array<std::string_view, kPictureCount> kFiles{
      "dirt.bmp", "grass.bmp", "rock.bmp", "wall.bmp", "door.bmp", "hero.bmp"};
  return kFiles[static_cast<int>(picture)];
}

Tile scaleToTile(const PicturePixels& picture) {
  Tile tile{};
  for (int y = 0; y < kTilePixels; ++y) {
    const int sy = (2 * y + 1) * kPicturePixels / (2 * kTilePixels);
    for (int x = 0; x < kTilePixels; ++x) {
      const int sx = (2 * x + 1) * kPicturePixels / (2 * kTilePixels);
      tile[y * kTilePixels + x] = picture[sy * kPicturePixels + sx];
    }
  }
  return tile;
}

std::array<PicturePixels, kPictureCount> builtInPictures() {
  std::array<PicturePixels, kPictureCount> pictures{};
  for (int i = 0; i < kPictureCount; ++i) {
    const std::string_view file = pictureFile(static_cast<Picture>(i));
    const auto bytes = embeddedAsset(file);
    if (bytes.empty()) throw std::runtime_error("missing picture " + std::string(file));
    pictures[i] = decodeBmp(bytes).pixels;
  }
  return pictures;
}

Renderer::Renderer() : Renderer(builtInPictures()) {}

Renderer::Renderer(const std::array<PicturePixels, kPictureCount>& pictures) {
  for (int i = 0; i < kPictureCount; ++i) tiles_[i] = scaleToTile(pictures[i]);
}

void Renderer::render(const Board& board, Frame& frame) const {
  renderRect(board, frame, kClient);
}

void Renderer::renderRect(const Board& board, Frame& frame, PixelRect clip) const {
  clip = intersect(clip, kClient);
  if (clip.w == 0 || clip.h == 0) return;
  std::uint32_t* const pixels = frame.pixels.data();
  for (int y = clip.y; y < clip.y + clip.h; ++y) {
    std::fill_n(pixels + y * Frame::kWidth + clip.x, clip.w, kBackgroundColour);
  }
  // The clip in twips, so that the elements far from it are passed over without
  // working out their pixel squares (a move's redraw meets every element).
  const float left = static_cast<float>(clip.x * kTwipsPerPixel);
  const float top = static_cast<float>(clip.y * kTwipsPerPixel);
  const float right = static_cast<float>((clip.x + clip.w) * kTwipsPerPixel);
  const float bottom = static_cast<float>((clip.y + clip.h) * kTwipsPerPixel);
  for (ElementId id : board.drawingOrder()) {
    const Element& e = board.get(id);
    if (!e.visible || e.kind != Element::Kind::Image) continue;
    if (e.left >= right || e.left + e.width <= left || e.top >= bottom || e.top + e.height <= top) {
      continue;
    }
    // Every image element is one cell, 375 × 375 twips: 25 × 25 pixels.
    const PixelRect square = pixelRect(e);
    const PixelRect part = intersect(square, clip);
    if (part.w == 0 || part.h == 0) continue;
    const Tile& tile = tiles_[static_cast<int>(e.picture)];
    for (int row = part.y; row < part.y + part.h; ++row) {
      const std::uint32_t* src = tile.data() + (row - square.y) * kTilePixels + (part.x - square.x);
      std::copy_n(src, part.w, pixels + row * Frame::kWidth + part.x);
    }
  }
}

std::vector<PixelRect> Renderer::update(Board& board, Frame& frame) const {
  std::vector<PixelRect> changed;
  for (const PixelRect& rect : board.takeDamage()) {
    const PixelRect part = intersect(rect, kClient);
    if (part.w == 0 || part.h == 0) continue;
    renderRect(board, frame, part);
    changed.push_back(part);
  }
  return changed;
}

}  // namespace gravisk
