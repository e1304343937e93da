// Tag_ibmp.h - <ibmp>path</ibmp>: a BMP file printed at that place of the text.
#pragma once

#include <memory>

#include "text/ParameterTag.h"

class Tag_ibmp : public ParameterTag {
 public:
  // The largest raster command one tag sends (the command of a picture of
  // up to 99 973 data bytes); a larger picture is refused with "-27".
  static constexpr int kTransmitSize = 100000;

  explicit Tag_ibmp(const TagRow& row);
  // Open tag: nothing is sent; the path is stepped over.
  const uint8_t* getBytes() override;
  // Close tag: the picture named by the path is sent in a write of its own;
  // "1" with nothing left for the parser, "-27" when the file is not a BMP
  // (or too large), null when the picture is smaller than 8 x 8.
  const uint8_t* getBytes2() override;

  // The path taken by the last scan, zero-terminated.
  const char* path() { return content(); }

 protected:
  // The path scan: the first <ibmp> of what the tag sees starts a new path,
  // made of the characters up to </ibmp> or the end of what it sees. While
  // a path waits for its close tag (the open length has grown), later scans
  // leave it alone.
  void extractContent(int begin, int end) override;
};
