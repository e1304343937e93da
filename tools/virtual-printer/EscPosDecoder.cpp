// EscPosDecoder.cpp - the listing of a received command stream.
#include "EscPosDecoder.h"

#include <cstdio>

#include "common/EscPos.h"
#include "render/FixedCommands.h"
#include "render/Quoted.h"

namespace vprinter {
namespace {

// ESC, GS, FS, DLE, EOT, LF and HT, named once for the library and its tools.
using namespace escpos;
constexpr uint8_t NUL = 0x00;
constexpr uint8_t CR = 0x0D;

// GS ( k: one function of the QR code (cn 49) or PDF417 (cn 48) symbol.
struct SymbolFunction {
  uint8_t cn;
  uint8_t fn;
  const char* name;
};

const SymbolFunction kSymbolFunctions[] = {
    {49, 65, "QR model"},
    {49, 67, "QR module size"},
    {49, 69, "QR error correction"},
    {49, 80, "QR store"},
    {49, 81, "QR print"},
    {48, 65, "PDF417 columns"},
    {48, 66, "PDF417 rows"},
    {48, 67, "PDF417 module width"},
    {48, 68, "PDF417 row height"},
    {48, 69, "PDF417 error correction"},
    {48, 80, "PDF417 store"},
    {48, 81, "PDF417 print"},
};
constexpr uint8_t kStoreFunction = 80;
constexpr uint8_t kPrintFunction = 81;

// GS 8 L function 112: store raster graphics.
constexpr uint8_t kRasterFunction = 112;
// GS ( L function 2 (or '2'): print the stored graphics.
constexpr uint8_t kGraphicsPrint = 2;
constexpr uint8_t kGraphicsPrintChar = 50;

std::string hexByte(uint8_t b) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", b);
  return text;
}

class Decoder {
 public:
  Decoder(const uint8_t* bytes, size_t length) : b_(bytes), n_(length) {}

  std::vector<std::string> run() {
    while (i_ < n_) {
      const uint8_t c = b_[i_];
      if (c >= 0x20) {
        textRun();
      } else if (c == ESC) {
        if (!escTabPositions()) prefixed("ESC", ESC);
      } else if (c == GS) {
        if (!gsCounted()) prefixed("GS", GS);
      } else if (c == FS) {
        prefixed("FS", FS);
      } else if (c == DLE && left() >= 2 && at(1) == EOT) {
        fixed("DLE EOT", 2, 1, false);
      } else {
        controlByte(c);
      }
    }
    return out_;
  }

 private:
  size_t left() const { return n_ - i_; }
  // Byte k ahead of the cursor; the caller has checked left() > k.
  uint8_t at(size_t k) const { return b_[i_ + k]; }
  unsigned word(size_t k) const { return at(k) + 256u * at(k + 1); }

  void emit(const std::string& line) { out_.push_back(line); }

  // The rest of the stream is too short for the command: list what it was
  // meant to be and stop.
  void truncated(const std::string& name) {
    emit(name + " (truncated)");
    i_ = n_;
  }

  // name, then count parameters found after prefix bytes.
  void fixed(const std::string& name, size_t prefix, size_t count, bool asWord) {
    if (left() < prefix + count) return truncated(name);
    std::string line = name;
    if (asWord) {
      line += " " + std::to_string(word(prefix));
    } else {
      for (size_t k = 0; k < count; ++k) line += " " + std::to_string(at(prefix + k));
    }
    emit(line);
    i_ += prefix + count;
  }

  // A command of fixed length, its parameters in decimal or as one word.
  void prefixed(const char* name, uint8_t prefix) {
    if (left() < 2) return truncated(name);
    if (const FixedCommand* command = fixedCommand(prefix, at(1))) {
      return fixed(command->name, 2, command->params, command->word);
    }
    emit(std::string(name) + " " + hexByte(at(1)) + " (unknown)");
    i_ += 2;
  }

  // ESC D n1 ... 00: tab positions, listed without the closing 00.
  bool escTabPositions() {
    if (left() < 2 || at(1) != 'D') return false;
    std::string line = "ESC D";
    for (size_t k = 2; k < left(); ++k) {
      if (at(k) == NUL) {
        emit(line);
        i_ += k + 1;
        return true;
      }
      line += " " + std::to_string(at(k));
    }
    truncated("ESC D");
    return true;
  }

  // GS commands whose length depends on their parameters.
  bool gsCounted() {
    if (left() < 2) return false;
    switch (at(1)) {
      case 'V': cut(); return true;
      case 'k': barcode(); return true;
      case '8':
        if (left() >= 3 && at(2) == 'L') { raster(); return true; }
        return false;
      case '(':
        if (left() >= 3 && at(2) == 'k') { symbol(); return true; }
        if (left() >= 3 && at(2) == 'L') { graphics(); return true; }
        return false;
      default: return false;
    }
  }

  // GS V m (n): cut; m 65 and 66 take a feed amount.
  void cut() {
    if (left() < 3) return truncated("GS V");
    const uint8_t m = at(2);
    fixed("GS V", 2, (m == 65 || m == 66) ? 2 : 1, false);
  }

  // GS k m d1 ... 00 (m 0..6) or GS k m n d1 ... dn (m 65 and up).
  void barcode() {
    if (left() < 3) return truncated("GS k");
    const uint8_t m = at(2);
    const std::string name = "GS k " + std::to_string(m);
    if (m <= 6) {
      for (size_t k = 3; k < left(); ++k) {
        if (at(k) == NUL) {
          emit(name + " " + quoted(b_ + i_ + 3, k - 3));
          i_ += k + 1;
          return;
        }
      }
      return truncated(name);
    }
    if (left() < 4) return truncated(name);
    const size_t count = at(3);
    const std::string counted = name + " " + std::to_string(count);
    if (left() < 4 + count) return truncated(counted);
    emit(counted + " " + quoted(b_ + i_ + 4, count));
    i_ += 4 + count;
  }

  // GS ( k pL pH cn fn ...: one function of a two-dimensional symbol.
  void symbol() {
    if (left() < 5) return truncated("GS ( k");
    const size_t p = word(3);
    if (left() < 5 + p) return truncated("GS ( k");
    if (p < 2) {
      emit("GS ( k " + std::to_string(p) + " bytes");
      i_ += 5 + p;
      return;
    }
    const uint8_t cn = at(5);
    const uint8_t fn = at(6);
    std::string line;
    for (const SymbolFunction& f : kSymbolFunctions) {
      if (f.cn == cn && f.fn == fn) line = std::string("GS ( k ") + f.name;
    }
    if (line.empty()) {
      line = "GS ( k cn " + std::to_string(cn) + " fn " + std::to_string(fn);
      for (size_t k = 7; k < 5 + p; ++k) line += " " + std::to_string(at(k));
    } else if (fn == kStoreFunction && p >= 3) {
      line += " " + std::to_string(p - 3) + " " + quoted(b_ + i_ + 8, p - 3);
    } else if (fn != kPrintFunction) {
      for (size_t k = 7; k < 5 + p; ++k) line += " " + std::to_string(at(k));
    }
    emit(line);
    i_ += 5 + p;
  }

  // GS ( L pL pH m fn ...: graphics functions; fn 2 prints the stored picture.
  void graphics() {
    if (left() < 5) return truncated("GS ( L");
    const size_t p = word(3);
    if (left() < 5 + p) return truncated("GS ( L");
    const bool print = p >= 2 && (at(6) == kGraphicsPrint || at(6) == kGraphicsPrintChar);
    if (print) {
      emit("GS ( L print graphics");
    } else {
      emit("GS ( L " + std::to_string(p) + " bytes");
    }
    i_ += 5 + p;
  }

  // GS 8 L p1 p2 p3 p4 m fn a bx by c xL xH yL yH data: store a raster picture.
  void raster() {
    if (left() < 7) return truncated("GS 8 L");
    const size_t p = at(3) + (size_t{at(4)} << 8) + (size_t{at(5)} << 16) + (size_t{at(6)} << 24);
    if (left() - 7 < p) return truncated("GS 8 L");
    if (p >= 10 && at(8) == kRasterFunction) {
      const size_t width = word(13);
      const size_t height = word(15);
      const size_t data = p - 10;
      std::string line = "GS 8 L raster " + std::to_string(width) + "x" + std::to_string(height) +
                         " dots, " + std::to_string(data) + " bytes";
      if (data != (width + 7) / 8 * height) line += " (size does not match)";
      emit(line);
    } else {
      emit("GS 8 L " + std::to_string(p) + " bytes");
    }
    i_ += 7 + p;
  }

  void textRun() {
    const size_t start = i_;
    while (i_ < n_ && b_[i_] >= 0x20) ++i_;
    emit(quoted(b_ + start, i_ - start));
  }

  // LF, CR and HT each on a line of their own; other control bytes (and
  // the zero bytes some commands are followed by) in runs.
  void controlByte(uint8_t c) {
    if (c == LF || c == CR || c == HT) {
      emit(c == LF ? "LF" : c == CR ? "CR" : "HT");
      ++i_;
      return;
    }
    size_t count = 0;
    while (i_ < n_ && b_[i_] == c) {
      ++i_;
      ++count;
    }
    std::string line = c == NUL ? "NUL" : hexByte(c);
    if (count > 1) line += " x" + std::to_string(count);
    emit(line);
  }

  const uint8_t* b_;
  size_t n_;
  size_t i_ = 0;
  std::vector<std::string> out_;
};

}  // namespace

std::vector<std::string> decodeListing(const uint8_t* bytes, size_t length) {
  if (bytes == nullptr) return {};
  return Decoder(bytes, length).run();
}

std::vector<std::string> listingWithNotes(const uint8_t* bytes, size_t length, const std::vector<std::string>& notes) {
  std::vector<std::string> lines = decodeListing(bytes, length);
  for (const std::string& note : notes) lines.push_back("== " + note);
  return lines;
}

}  // namespace vprinter
