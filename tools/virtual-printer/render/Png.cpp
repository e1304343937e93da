// Png.cpp - one-bit PNG files through libpng's simplified writer.
#include "Png.h"

#include <png.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace vprinter {

bool writePng(const Bitmap& picture, const std::string& path, std::string& error) {
  if (picture.empty()) {
    error = "empty picture";
    return false;
  }
  // Eight-bit grey rows for the simplified writer, which packs them.
  std::vector<png_byte> grey(picture.dots().size());
  for (size_t k = 0; k < grey.size(); ++k) grey[k] = picture.dots()[k] ? 0 : 255;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.width());
  image.height = static_cast<png_uint_32>(picture.height());
  image.format = PNG_FORMAT_GRAY;
  errno = 0;
  if (png_image_write_to_file(&image, path.c_str(), 0, grey.data(), 0, nullptr) == 0) {
    error = path + ": " + (errno != 0 ? std::strerror(errno) : image.message);
    png_image_free(&image);
    return false;
  }
  return true;
}

}  // namespace vprinter
