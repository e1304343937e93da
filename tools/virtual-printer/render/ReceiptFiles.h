// ReceiptFiles.h - the receipts as numbered PNG files: receipt-0001.png, ...
#pragma once

#include <string>
#include <vector>

#include "Bitmap.h"

namespace vprinter {

class ReceiptFiles {
 public:
  explicit ReceiptFiles(std::string dir) : dir_(std::move(dir)) {}

  // Writes the next file; returns the line that tells of it ("DIR/receipt-0001.png:
  // 512 x 830 dots", or why it could not be written).
  std::string write(const Bitmap& receipt);

  // Every line write() returned.
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::string dir_;
  int count_ = 0;
  std::vector<std::string> lines_;
};

}  // namespace vprinter
