// ReceiptRenderer.cpp - the printer's command set, drawn on paper.
#include "ReceiptRenderer.h"

#include <algorithm>

#include "CodePage.h"
#include "FixedCommands.h"
#include "Quoted.h"
#include "Symbols.h"
#include "common/EscPos.h"

namespace vprinter {
namespace {

// ESC, GS, FS, DLE, EOT, LF and HT, named once for the library and its tools.
using namespace escpos;
constexpr uint8_t NUL = 0x00;  // ends ESC D and the first barcode form

constexpr size_t kMaxTabs = 32;
constexpr size_t kMaxBarcodeData = 255;
constexpr size_t kMaxNotes = 100;
// The box FS p draws in place of a stored image, in dots.
constexpr int kStoredImageWidth = 256;
constexpr int kStoredImageHeight = 96;

// A parameter given as 0..2 or as the digits '0'..'2'.
int digit(uint8_t n) { return n >= '0' ? n - '0' : n; }

unsigned word(const uint8_t* b) { return b[0] + 256u * b[1]; }

}  // namespace

ReceiptRenderer::ReceiptRenderer(Glyphs& glyphs, std::function<void(const Bitmap&)> receipt)
    : glyphs_(glyphs), paper_(std::move(receipt)) {}

void ReceiptRenderer::note(const std::string& line) {
  if (notes_.size() < kMaxNotes) notes_.push_back(line);
  if (notes_.size() == kMaxNotes) notes_.push_back("(more not listed)");
}

void ReceiptRenderer::receive(const uint8_t* bytes, size_t length) {
  // Data of a refused command passes by without being kept.
  const size_t passed = std::min(skip_, length);
  skip_ -= passed;
  pending_.insert(pending_.end(), bytes + passed, bytes + length);
  size_t at = 0;
  while (at < pending_.size()) {
    if (skip_ > 0) {
      const size_t over = std::min(skip_, pending_.size() - at);
      skip_ -= over;
      at += over;
      continue;
    }
    const size_t used = step(pending_.data() + at, pending_.size() - at);
    if (used == 0) break;
    at += used;
  }
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(at));
}

void ReceiptRenderer::finish() {
  if (!pending_.empty()) note("a command cut off by the end of the data was dropped");
  pending_.clear();
  skip_ = 0;
  paper_.finish();
}

size_t ReceiptRenderer::step(const uint8_t* b, size_t n) {
  if (b[0] >= 0x20) {
    size_t k = 0;
    while (k < n && b[k] >= 0x20) character(b[k++]);
    return k;
  }
  switch (b[0]) {
    case LF: paper_.newLine(); return 1;
    case HT: tab(); return 1;
    case ESC: return esc(b, n);
    case GS: return gs(b, n);
    case FS:
      if (n < 2) return 0;
      if (b[1] != 'p') return 2;
      if (n < 4) return 0;
      // FS p n m: the stored image n; no image is stored in this printer
      placeholder("stored image " + std::to_string(b[2]), kStoredImageWidth, kStoredImageHeight);
      return 4;
    case DLE:
      // DLE EOT n: a status request, answered elsewhere
      if (n < 2) return 0;
      if (b[1] != EOT) return 1;
      return n < 3 ? 0 : 3;
    default: return 1;  // CR, NUL and the other control bytes print nothing
  }
}

void ReceiptRenderer::character(uint8_t b) {
  const CellSize size = modes_.fontB ? kFontB : kFontA;
  const Bitmap& glyph = glyphs_.cell(characterOf(modes_.table, b), size);
  paper_.put({&glyph, modes_.doubleWidth ? 2 : 1, modes_.doubleHeight ? 2 : 1, modes_.bold,
              modes_.underline, b});
}

// HT: to the next tab stop, counted in characters of the current width;
// past the last stop nothing moves.
void ReceiptRenderer::tab() {
  const int width = (modes_.fontB ? kFontB : kFontA).width * (modes_.doubleWidth ? 2 : 1);
  for (int stop : modes_.tabs) {
    if (stop * width > paper_.column()) {
      paper_.tabTo(stop * width);
      return;
    }
  }
}

size_t ReceiptRenderer::esc(const uint8_t* b, size_t n) {
  if (n < 2) return 0;
  if (b[1] == 'D') return tabPositions(b, n);
  const FixedCommand* command = fixedCommand(ESC, b[1]);
  if (command == nullptr) return 2;  // unknown: listed, not printed
  if (n < 2 + command->params) return 0;
  const uint8_t p = command->params > 0 ? b[2] : 0;
  Modes& m = modes_;
  switch (b[1]) {
    case '@': {
      // Text not yet ended by LF or a print command never reaches the paper.
      const std::vector<uint8_t> cleared = paper_.discardLine();
      if (!cleared.empty()) {
        note("text cleared by ESC @ before it was printed: " + quoted(cleared.data(), cleared.size()));
      }
      modes_ = Modes();
      paper_.setAlign(Align::Left);
      paper_.resetMargins();
      paper_.setLineSpacing(modes_.lineSpacing);
      break;
    }
    case 'E': m.bold = p & 1; break;
    case 'G': m.bold = p & 1; break;
    case '-': m.underline = std::min(digit(p), 2); break;
    case '!':
      m.fontB = p & 0x01;
      m.bold = p & 0x08;
      m.doubleHeight = p & 0x10;
      m.doubleWidth = p & 0x20;
      m.underline = (p & 0x80) ? 1 : 0;
      break;
    case 'M': m.fontB = digit(p) == 1; break;
    case 'a':
      m.align = digit(p) == 1 ? Align::Centre : digit(p) == 2 ? Align::Right : Align::Left;
      paper_.setAlign(m.align);
      break;
    case 'd': paper_.printLineAndFeed(p * m.lineSpacing); break;
    case 'J': paper_.printLineAndFeed(p); break;
    case '2':
      m.lineSpacing = kDefaultLineSpacing;
      paper_.setLineSpacing(m.lineSpacing);
      break;
    case '3':
      m.lineSpacing = p;
      paper_.setLineSpacing(m.lineSpacing);
      break;
    case 't': m.table = p; break;
    default: break;  // ESC p: the drawer kick, nothing on paper
  }
  return 2 + command->params;
}

// ESC D n1 ... nk 00: tab stops in characters, rising; at most 32.
size_t ReceiptRenderer::tabPositions(const uint8_t* b, size_t n) {
  std::vector<int> stops;
  for (size_t k = 2; k < n && k < 2 + kMaxTabs; ++k) {
    if (b[k] == NUL) {
      modes_.tabs = stops;
      return k + 1;
    }
    if (stops.empty() || b[k] > stops.back()) stops.push_back(b[k]);
  }
  if (n < 2 + kMaxTabs) return 0;
  modes_.tabs = stops;  // 32 stops and no 00: what follows is data
  return 2 + kMaxTabs;
}

size_t ReceiptRenderer::gs(const uint8_t* b, size_t n) {
  if (n < 2) return 0;
  switch (b[1]) {
    case 'k': return barcode(b, n);
    case 'V':
      // GS V m, or GS V m n for m 65 and 66 (feed n dots, then cut)
      if (n < 3) return 0;
      if (b[2] == 65 || b[2] == 66) {
        if (n < 4) return 0;
        paper_.cut(b[3]);
        return 4;
      }
      paper_.cut(0);
      return 3;
    case '8':
      if (n < 3) return 0;
      return b[2] == 'L' ? raster(b, n) : 2;
    case '(':
      if (n < 3) return 0;
      return b[2] == 'k' ? symbol(b, n) : b[2] == 'L' ? graphics(b, n) : 2;
    default: break;
  }
  const FixedCommand* command = fixedCommand(GS, b[1]);
  if (command == nullptr) return 2;
  if (n < 2 + command->params) return 0;
  Modes& m = modes_;
  switch (b[1]) {
    case 'h': if (b[2] > 0) m.barHeight = b[2]; break;
    case 'w': m.barModule = std::min(std::max<int>(b[2], 1), 6); break;
    case 'H': m.hriPosition = digit(b[2]) & 3; break;
    case 'f': m.hriFontB = digit(b[2]) == 1; break;
    case 'L': paper_.setLeftMargin(static_cast<int>(word(b + 2))); break;
    case 'W': paper_.setAreaWidth(static_cast<int>(word(b + 2))); break;
    default: break;  // GS ! and GS B: listed, not drawn
  }
  return 2 + command->params;
}

// GS k m d1 ... 00 (m 0..6) or GS k m n d1 ... dn (m 65 and up).
size_t ReceiptRenderer::barcode(const uint8_t* b, size_t n) {
  if (n < 3) return 0;
  const uint8_t m = b[2];
  if (m <= 6) {
    for (size_t k = 3; k < n && k <= 3 + kMaxBarcodeData; ++k) {
      if (b[k] == NUL) {
        printBarcode(m, b + 3, k - 3);
        return k + 1;
      }
    }
    if (n <= 3 + kMaxBarcodeData) return 0;
    note("GS k " + std::to_string(m) + " without its closing 00 refused");
    return 3;
  }
  if (n < 4) return 0;
  if (n < size_t{4} + b[3]) return 0;
  printBarcode(m, b + 4, b[3]);
  return size_t{4} + b[3];
}

void ReceiptRenderer::printBarcode(uint8_t m, const uint8_t* data, size_t length) {
  const Symbol symbol = linearBarcode(m, data, length);
  if (!symbol.error.empty()) return printSymbol("GS k " + std::to_string(m), symbol, 1, 1);
  const int width = symbol.modules.width() * modes_.barModule;
  const CellSize font = modes_.hriFontB ? kFontB : kFontA;
  const Bitmap hri = modes_.hriPosition != 0 ? textPicture(symbol.text, font) : Bitmap();
  const bool above = modes_.hriPosition & 1, below = modes_.hriPosition & 2;
  Bitmap whole(std::max(width, hri.width()),
               modes_.barHeight + (above ? hri.height() : 0) + (below ? hri.height() : 0));
  const int barsTop = above ? hri.height() : 0;
  whole.draw(symbol.modules, (whole.width() - width) / 2, barsTop, modes_.barModule, modes_.barHeight);
  const int textLeft = (whole.width() - hri.width()) / 2;
  if (above) whole.draw(hri, textLeft, 0);
  if (below) whole.draw(hri, textLeft, barsTop + modes_.barHeight);
  Symbol drawn;
  drawn.modules = whole;
  printSymbol("GS k " + std::to_string(m), drawn, 1, 1);
}

// Prints a symbol at its scale when it fits the paper, else a box saying why.
void ReceiptRenderer::printSymbol(const std::string& name, const Symbol& symbol, int scaleX, int scaleY) {
  std::string why = symbol.error;
  if (why.empty() && symbol.modules.width() * scaleX > kPaperDots) why = "wider than the paper";
  if (why.empty()) return paper_.block(symbol.modules, scaleX, scaleY);
  note(name + " not printed: " + why);
  placeholder(name + ": " + why, kPaperDots, 2 * kFontB.height);
}

// GS ( k pL pH cn fn ...: one function of the QR code (cn 49) or PDF417 (cn 48).
size_t ReceiptRenderer::symbol(const uint8_t* b, size_t n) {
  if (n < 5) return 0;
  const size_t length = 5 + word(b + 3);
  if (n < length) return 0;
  if (length >= 7 && b[5] == 49) qrFunction(b[6], b + 7, length - 7);
  if (length >= 7 && b[5] == 48) pdfFunction(b[6], b + 7, length - 7);
  return length;
}

void ReceiptRenderer::qrFunction(uint8_t fn, const uint8_t* p, size_t count) {
  if (fn == 67 && count >= 1 && p[0] >= 1 && p[0] <= 16) modes_.qrModule = p[0];
  if (fn == 69 && count >= 1 && p[0] >= 48 && p[0] <= 51) modes_.qrLevel = p[0] - 48;
  if (fn == 80 && count >= 1) qrData_.assign(p + 1, p + count);
  if (fn == 81) printSymbol("QR code", qrCode(modes_.qrLevel, qrData_.data(), qrData_.size()),
                            modes_.qrModule, modes_.qrModule);
}

void ReceiptRenderer::pdfFunction(uint8_t fn, const uint8_t* p, size_t count) {
  if (fn == 65 && count >= 1 && p[0] <= 30) modes_.pdfColumns = p[0];
  if (fn == 67 && count >= 1 && p[0] >= 2 && p[0] <= 8) modes_.pdfModule = p[0];
  if (fn == 68 && count >= 1 && p[0] >= 2 && p[0] <= 8) modes_.pdfRowHeight = p[0];
  // 69: m 48 gives the level 48..56; m 49 a ratio, left to the encoder
  if (fn == 69 && count >= 2) modes_.pdfLevel = p[0] == 48 && p[1] >= 48 && p[1] <= 56 ? p[1] - 48 : -1;
  if (fn == 80 && count >= 1) pdfData_.assign(p + 1, p + count);
  if (fn == 81) {
    printSymbol("PDF417", pdf417(modes_.pdfColumns, modes_.pdfLevel, pdfData_.data(), pdfData_.size()),
                modes_.pdfModule, modes_.pdfModule * modes_.pdfRowHeight);
  }
}

// GS ( L pL pH m fn ...: fn 2 (or '2') prints the picture GS 8 L stored.
size_t ReceiptRenderer::graphics(const uint8_t* b, size_t n) {
  if (n < 5) return 0;
  const size_t length = 5 + word(b + 3);
  if (n < length) return 0;
  if (length >= 7 && digit(b[6]) == 2 && !graphics_.empty()) {
    paper_.block(graphics_, graphicsScaleX_, graphicsScaleY_);
  }
  return length;
}

// GS 8 L p1 p2 p3 p4 m fn a bx by c xL xH yL yH data: store a raster
// picture, x dots wide, rows of (x + 7) / 8 bytes, the leftmost dot in the
// top bit.
size_t ReceiptRenderer::raster(const uint8_t* b, size_t n) {
  if (n < 7) return 0;
  const size_t p = b[3] + (size_t{b[4]} << 8) + (size_t{b[5]} << 16) + (size_t{b[6]} << 24);
  if (p > kMaxGraphicsBytes) {
    note("GS 8 L of " + std::to_string(p) + " bytes refused");
    skip_ = p;
    return 7;
  }
  if (n < 7 + p) return 0;
  if (p < 10 || b[8] != 112) return 7 + p;
  const int width = static_cast<int>(word(b + 13));
  const size_t rowBytes = (static_cast<size_t>(width) + 7) / 8;
  // Only as many rows as the data holds.
  const size_t rows = rowBytes == 0 ? 0 : std::min<size_t>(word(b + 15), (p - 10) / rowBytes);
  graphics_ = Bitmap(width, static_cast<int>(rows));
  graphicsScaleX_ = b[10] == 2 ? 2 : 1;
  graphicsScaleY_ = b[11] == 2 ? 2 : 1;
  const uint8_t* data = b + 17;
  for (int y = 0; y < graphics_.height(); ++y) {
    for (int x = 0; x < graphics_.width(); ++x) {
      if ((data[static_cast<size_t>(y) * rowBytes + static_cast<size_t>(x) / 8] >> (7 - x % 8)) & 1) {
        graphics_.set(x, y);
      }
    }
  }
  return 7 + p;
}

Bitmap ReceiptRenderer::textPicture(const std::string& text, CellSize cell) {
  Bitmap picture(static_cast<int>(text.size()) * cell.width, cell.height);
  int x = 0;
  for (unsigned char c : text) {
    picture.draw(glyphs_.cell(c, cell), x, 0);
    x += cell.width;
  }
  return picture;
}

void ReceiptRenderer::placeholder(const std::string& label, int width, int height) {
  const Bitmap text = textPicture(label.substr(0, (kPaperDots - 8) / kFontB.width), kFontB);
  Bitmap box(std::max(width, text.width() + 8), std::max(height, text.height() + 8));
  box.frame(0, 0, box.width(), box.height());
  box.draw(text, (box.width() - text.width()) / 2, (box.height() - text.height()) / 2);
  paper_.block(box);
}

}  // namespace vprinter
