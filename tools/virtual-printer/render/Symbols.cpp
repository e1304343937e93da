// Symbols.cpp - the one bridge to zint.
#include "Symbols.h"

#include <zint.h>

#include <iterator>
#include <memory>
#include <vector>

namespace vprinter {
namespace {

struct Settings {
  int symbology;
  int option1;
  int option2;
};

// Encodes data with zint and takes the modules from its matrix.
Symbol encode(const Settings& settings, const uint8_t* data, size_t length) {
  Symbol result;
  if (length == 0) {
    result.error = "no data";
    return result;
  }
  std::unique_ptr<zint_symbol, void (*)(zint_symbol*)> symbol(ZBarcode_Create(), ZBarcode_Delete);
  if (!symbol) {
    result.error = "out of memory";
    return result;
  }
  symbol->symbology = settings.symbology;
  symbol->input_mode = DATA_MODE;
  symbol->option_1 = settings.option1;
  symbol->option_2 = settings.option2;
  const int status = ZBarcode_Encode(symbol.get(), data, static_cast<int>(length));
  if (status >= ZINT_ERROR) {
    result.error = symbol->errtxt;
    return result;
  }
  result.modules = Bitmap(symbol->width, symbol->rows);
  for (int row = 0; row < symbol->rows; ++row) {
    for (int column = 0; column < symbol->width; ++column) {
      // zint keeps eight modules to a byte, the first one in the lowest bit
      const unsigned char packed = symbol->encoded_data[row][column >> 3];
      if ((packed >> (column & 7)) & 1) result.modules.set(column, row);
    }
  }
  result.text = reinterpret_cast<const char*>(symbol->text);
  return result;
}

// Code 128 data begins with the code set to start in ("{A", "{B", "{C") and
// may switch sets on the way; zint picks the sets itself, so only the data
// characters go to it ("{{" is a '{').
std::vector<uint8_t> code128Characters(const uint8_t* data, size_t length) {
  std::vector<uint8_t> text;
  for (size_t k = 0; k < length; ++k) {
    if (data[k] == '{' && k + 1 < length && data[k + 1] != '{') {
      ++k;  // a code set or function character
      continue;
    }
    if (data[k] == '{' && k + 1 < length) ++k;
    text.push_back(data[k]);
  }
  return text;
}

// GS k m: the symbology of each system m, 65 to 73 (0 to 6 are the first
// seven again). zint draws EAN-13 and EAN-8 as one symbology that picks its
// symbol by the number of digits, and checks a given check digit only in
// the form that expects it: so a system of fixed length takes exactly its
// digits, or one more for the check digit, and anything else is refused.
struct System {
  int symbology;       // the data without a check digit, or of any length
  int withCheckDigit;  // the data with its check digit
  size_t digits;       // without the check digit; 0 when any length goes
};
const System kSystems[] = {
    {BARCODE_UPCA, BARCODE_UPCA_CHK, 11},  // 65 UPC-A
    {BARCODE_UPCE, 0, 0},                  // 66 UPC-E: 6 to 8 digits, as zint takes them
    {BARCODE_EANX, BARCODE_EANX_CHK, 12},  // 67 EAN-13
    {BARCODE_EANX, BARCODE_EANX_CHK, 7},   // 68 EAN-8
    {BARCODE_CODE39, 0, 0},                // 69 Code 39
    {BARCODE_C25INTER, 0, 0},              // 70 ITF
    {BARCODE_CODABAR, 0, 0},               // 71 Codabar
    {BARCODE_CODE93, 0, 0},                // 72 Code 93
    {BARCODE_CODE128, 0, 0},               // 73 Code 128
};

}  // namespace

Symbol linearBarcode(uint8_t m, const uint8_t* data, size_t length) {
  const int index = m >= 65 ? m - 65 : (m <= 6 ? m : -1);
  Symbol refused;
  if (index < 0 || index >= static_cast<int>(std::size(kSystems))) {
    refused.error = "unknown barcode system " + std::to_string(m);
    return refused;
  }
  const System& system = kSystems[index];
  if (system.digits != 0 && length != system.digits && length != system.digits + 1) {
    refused.error = "needs " + std::to_string(system.digits) + " digits, or " + std::to_string(system.digits + 1) +
                    " with the check digit";
    return refused;
  }
  const int symbology = system.digits != 0 && length > system.digits ? system.withCheckDigit : system.symbology;
  if (symbology == BARCODE_CODE128) {
    const std::vector<uint8_t> text = code128Characters(data, length);
    return encode({symbology, -1, 0}, text.data(), text.size());
  }
  return encode({symbology, -1, 0}, data, length);
}

Symbol qrCode(int level, const uint8_t* data, size_t length) {
  return encode({BARCODE_QRCODE, level + 1, 0}, data, length);
}

Symbol pdf417(int columns, int level, const uint8_t* data, size_t length) {
  return encode({BARCODE_PDF417, level, columns}, data, length);
}

}  // namespace vprinter
