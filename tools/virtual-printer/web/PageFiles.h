// PageFiles.h - the live page's files, built into the program from
// tools/virtual-printer/web/page/ (EmbedPage.cmake).
#pragma once

#include <cstddef>

namespace vprinter {

struct PageFile {
  const char* name;  // "index.html"
  const char* text;
};

extern const PageFile kPageFiles[];
extern const size_t kPageFileCount;

}  // namespace vprinter
