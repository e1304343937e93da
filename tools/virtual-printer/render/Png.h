// Png.h - writes a picture as a black-on-white PNG with libpng.
#pragma once

#include <string>

#include "Bitmap.h"

namespace vprinter {

// Writes picture to path as a greyscale PNG, black dots on white. On failure returns false
// and says why in error.
bool writePng(const Bitmap& picture, const std::string& path, std::string& error);

}  // namespace vprinter
