// ReceiptFiles.cpp - numbering and writing the receipts.
#include "ReceiptFiles.h"

#include <sys/stat.h>

#include <cstdio>

#include "Png.h"

namespace vprinter {

std::string ReceiptFiles::write(const Bitmap& receipt) {
  char name[32];
  std::snprintf(name, sizeof name, "receipt-%04d.png", ++count_);
  const std::string path = dir_ + "/" + name;
  mkdir(dir_.c_str(), 0755);  // --out names a directory that may not exist yet
  std::string error;
  std::string line = writePng(receipt, path, error)
                         ? path + ": " + std::to_string(receipt.width()) + " x " +
                               std::to_string(receipt.height()) + " dots"
                         : "cannot write " + error;
  lines_.push_back(line);
  return line;
}

}  // namespace vprinter
