// Paper.h - the paper under the print head: text lines laid out in the
// print area, blocks (barcodes, symbols, pictures) placed by the alignment,
// and the feed that moves the paper on.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "Bitmap.h"

namespace vprinter {

constexpr int kPaperDots = 512;  // 64 mm at 203 dpi
constexpr int kDefaultLineSpacing = 30;

// One character cell as it goes on the line.
struct Cell {
  const Bitmap* glyph;  // the font's cell, unscaled
  int scaleX;           // 2 for double width
  int scaleY;           // 2 for double height
  bool bold;
  int underline;        // 0, 1 or 2 dots
  uint8_t byte;         // the byte received, for the notes
};

enum class Align { Left, Centre, Right };

class Paper {
 public:
  // A receipt no longer than this is one picture; a longer one goes on in
  // the next picture.
  static constexpr int kMaxReceiptDots = 20000;

  // done receives each receipt that has ink on it.
  explicit Paper(std::function<void(const Bitmap&)> done);

  // Puts a cell on the line; a full line is printed first.
  void put(const Cell& cell);
  // Moves the next cell to x dots from the start of the print area, when that
  // is to the right of where it would go.
  void tabTo(int x);
  // Dots from the start of the print area to where the next cell goes.
  int column() const { return x_; }
  // Prints the line and feeds by the line spacing (a line is never spaced
  // closer than its own height).
  void newLine() { flushLine(spacing_); }
  // Prints the line and feeds dots in all.
  void printLineAndFeed(int dots);
  // ESC 2 and ESC 3: the line spacing in dots.
  void setLineSpacing(int dots) { spacing_ = dots; }
  // Prints the line, then block at the alignment, each module scale dots.
  void block(const Bitmap& picture, int scaleX = 1, int scaleY = 1);
  // Prints the line and ends the receipt after feeding dots.
  void cut(int feed);
  // Ends the receipt when it has ink.
  void finish();
  // The receipt so far, as it would be cut now; empty while it has no ink.
  Bitmap sheet() const;
  // How long that sheet is, in dots: it looks different whenever this
  // changes, as every line and picture printed feeds the paper.
  int sheetLength() const { return inked_ ? y_ : 0; }

  void setAlign(Align align) { align_ = align; }
  // GS L: the left margin; GS W: the width of the print area, in dots.
  void setLeftMargin(int dots);
  void setAreaWidth(int dots);
  void resetMargins();
  // ESC @ clears the line not yet printed; returns the bytes of its cells.
  std::vector<uint8_t> discardLine();

 private:
  struct Placed {
    Cell cell;
    int x;
  };
  int areaWidth() const;
  void flushLine(int minimumFeed);
  int offsetFor(int width) const;
  // Makes room for height dots below the current position.
  void reserve(int height);
  // Moves the paper on by dots, no further than a receipt goes.
  void advance(int dots);
  // Hands the receipt on when it has ink and starts a new one.
  void endPage();
  void drawCell(const Placed& placed, int bottom, int offset);

  std::function<void(const Bitmap&)> done_;
  Bitmap page_;
  int y_ = 0;
  bool inked_ = false;
  std::vector<Placed> line_;
  int x_ = 0;
  Align align_ = Align::Left;
  int left_ = 0;
  int width_ = kPaperDots;
  int spacing_ = kDefaultLineSpacing;
};

}  // namespace vprinter
