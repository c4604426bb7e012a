#pragma once
// The two file formats the resource compiler takes: icons with several sizes and plain bitmaps.
#include <string>
#include <vector>

#include "Canvas.h"

namespace art {

// An icon file holding the images in the given order, each 32 bits per pixel with straight alpha and the
// one-bit mask that older readers use (set where a pixel is fully transparent).
std::string IconFile(const std::vector<Canvas>& images);

// A 24-bit bottom-up bitmap file; alpha is ignored, so the canvas should be opaque.
std::string BitmapFile(const Canvas& image);

}  // namespace art
