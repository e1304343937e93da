// Png.h - writes a picture as a black-on-white PNG with libpng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Bitmap.h"

namespace vprinter {

// Writes picture to path as a greyscale PNG, black dots on white. On failure returns false
// and says why in error.
bool writePng(const Bitmap& picture, const std::string& path, std::string& error);

// The same PNG in memory, for the live page. On failure returns false and
// says why in error.
bool encodePng(const Bitmap& picture, std::vector<uint8_t>& png, std::string& error);

}  // namespace vprinter
