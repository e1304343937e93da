// ReceiptRenderer.h - plays the printer: takes the command bytes as they
// arrive and draws what the paper would show, one picture per receipt.
//
// Every allocation is bounded: a command is held only until it is complete,
// a raster picture claiming more than kMaxGraphicsBytes is refused (and its
// data passed over), and a receipt is at most Paper::kMaxReceiptDots tall.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "CodePage.h"
#include "Glyphs.h"
#include "Paper.h"
#include "Symbols.h"

namespace vprinter {

class ReceiptRenderer {
 public:
  static constexpr size_t kMaxGraphicsBytes = size_t{4} << 20;

  // receipt receives each finished receipt: at a cut, or at finish().
  ReceiptRenderer(Glyphs& glyphs, std::function<void(const Bitmap&)> receipt);

  // Takes the next bytes of the stream; a command may arrive split.
  void receive(const uint8_t* bytes, size_t length);
  // The stream ended: a command cut off is dropped, the receipt on the
  // paper is finished.
  void finish();

  // The receipt on the paper so far; empty while nothing is printed on it.
  Bitmap onPaper() const { return paper_.sheet(); }
  int onPaperLength() const { return paper_.sheetLength(); }

  // What the printer refused or could not print, one line each.
  const std::vector<std::string>& notes() const { return notes_; }

 private:
  // The modes ESC @ puts back.
  struct Modes {
    bool fontB = false;
    bool bold = false;
    bool doubleWidth = false;
    bool doubleHeight = false;
    int underline = 0;
    Align align = Align::Left;
    int lineSpacing = kDefaultLineSpacing;
    uint8_t table = kTableWindows1252;  // this printer's power-on table
    std::vector<int> tabs = {8, 16, 24, 32, 40, 48, 56, 64};
    int barHeight = 162;
    int barModule = 3;
    int hriPosition = 0;  // 1 above, 2 below, 3 both
    bool hriFontB = false;
    int qrModule = 3;
    int qrLevel = 0;       // L
    int pdfColumns = 0;    // the encoder's choice
    int pdfModule = 3;
    int pdfRowHeight = 3;  // in module widths
    int pdfLevel = -1;     // the encoder's choice
  };

  // The command at b, n bytes available: its length, 0 when more bytes are
  // needed to know it.
  size_t step(const uint8_t* b, size_t n);
  size_t esc(const uint8_t* b, size_t n);
  size_t gs(const uint8_t* b, size_t n);
  size_t tabPositions(const uint8_t* b, size_t n);
  size_t barcode(const uint8_t* b, size_t n);
  size_t symbol(const uint8_t* b, size_t n);
  size_t graphics(const uint8_t* b, size_t n);
  size_t raster(const uint8_t* b, size_t n);

  void character(uint8_t b);
  void tab();
  void qrFunction(uint8_t fn, const uint8_t* p, size_t count);
  void pdfFunction(uint8_t fn, const uint8_t* p, size_t count);
  void printBarcode(uint8_t m, const uint8_t* data, size_t length);
  void printSymbol(const std::string& name, const Symbol& symbol, int scaleX, int scaleY);
  // A framed box with a label, in place of what cannot be printed.
  void placeholder(const std::string& label, int width, int height);
  Bitmap textPicture(const std::string& text, CellSize cell);
  void note(const std::string& line);

  Glyphs& glyphs_;
  Paper paper_;
  Modes modes_;
  std::vector<uint8_t> pending_;
  size_t skip_ = 0;
  std::vector<uint8_t> qrData_;
  std::vector<uint8_t> pdfData_;
  Bitmap graphics_;
  int graphicsScaleX_ = 1;
  int graphicsScaleY_ = 1;
  std::vector<std::string> notes_;
};

}  // namespace vprinter
