// Png.cpp - one-bit PNG files through libpng's simplified writer.
#include "Png.h"

#include <png.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace vprinter {
namespace {

// The simplified writer's description of picture, and its dots as the
// eight-bit grey rows it takes (and packs).
png_image describe(const Bitmap& picture, std::vector<png_byte>& grey) {
  grey.resize(picture.dots().size());
  for (size_t k = 0; k < grey.size(); ++k) grey[k] = picture.dots()[k] ? 0 : 255;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.width());
  image.height = static_cast<png_uint_32>(picture.height());
  image.format = PNG_FORMAT_GRAY;
  return image;
}

}  // namespace

bool writePng(const Bitmap& picture, const std::string& path, std::string& error) {
  if (picture.empty()) {
    error = "empty picture";
    return false;
  }
  std::vector<png_byte> grey;
  png_image image = describe(picture, grey);
  errno = 0;
  if (png_image_write_to_file(&image, path.c_str(), 0, grey.data(), 0, nullptr) == 0) {
    error = path + ": " + (errno != 0 ? std::strerror(errno) : image.message);
    png_image_free(&image);
    return false;
  }
  return true;
}

bool encodePng(const Bitmap& picture, std::vector<uint8_t>& png, std::string& error) {
  if (picture.empty()) {
    error = "empty picture";
    return false;
  }
  std::vector<png_byte> grey;
  png_image image = describe(picture, grey);
  // Paper compresses well; when this is not room enough, libpng says how
  // much is.
  png_alloc_size_t size = grey.size() / 8 + 1024;
  for (int attempt = 0; attempt < 2; ++attempt) {
    png.resize(size);
    if (png_image_write_to_memory(&image, png.data(), &size, 0, grey.data(), 0, nullptr) != 0) {
      png.resize(size);
      return true;
    }
    png_image_free(&image);
    if (size <= png.size()) break;
  }
  error = image.message;
  png_image_free(&image);
  return false;
}

}  // namespace vprinter
