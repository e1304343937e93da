// Tag_ibmp.cpp - the inline picture tag: the same threshold and raster
// command as a monochrome picture printed on its own.
#include "text/Tag_ibmp.h"

#include <cstring>
#include <vector>

#include "connection/PrinterController.h"
#include "image/BMP.h"
#include "image/Raster.h"
#include "log/Log.h"

namespace {
const uint8_t kPrinted[] = {'1', 0};
}  // namespace

Tag_ibmp::Tag_ibmp(const TagRow& row) : ParameterTag(row, nullptr) {}

void Tag_ibmp::extractContent(int begin, int end) {
  const int openLength = row().openLength;
  if (openLength_ != openLength) return;
  const int opened = nextOpen(begin, end - openLength);
  if (opened < 0) return;
  std::memset(content(), 0, kContentSize);
  overflowed_ = false;
  // <ibmp></ibmp> and a text ending right after <ibmp> leave the path empty;
  // a path of 320 characters or more makes the open tag answer "-99".
  const int close = nextClose(opened + openLength, end - closeLength_);
  int pathLength = 0;
  take(opened + openLength, close >= 0 ? close : end, pathLength);
}

const uint8_t* Tag_ibmp::getBytes() {
  tq587::log("Inicio getBytes 1", LOG_DEBUG, whereOpen(), __LINE__);
  if (overflowed_) return invalid();
  clearOutput(size_);
  tq587::log("Fim getBytes 1", LOG_DEBUG, whereOpen(), __LINE__);
  return output();
}

const uint8_t* Tag_ibmp::getBytes2() {
  const char* const kWhere = whereClose();
  restoreLengths();
  tq587::log("Inicio getBytes 2", LOG_DEBUG, kWhere, __LINE__);
  auto failedToOpen = [this, kWhere] {
    tq587::log("Falha ao abrir arquivo de imagem.", LOG_DEBUG, kWhere, __LINE__);
    return genericError();
  };

  BMP picture;
  if (!picture.open(path())) return failedToOpen();
  if (picture.width() < kMinPrintedSide || picture.height() < kMinPrintedSide) {
    return nullptr;
  }
  // The size of the command is known from the header: a picture too large
  // for the transmit buffer is refused before its pixels are read.
  if (rasterSize(picture.width(), picture.height()) > static_cast<size_t>(kTransmitSize)) {
    tq587::log("Imagem maior que o buffer de transmiss\xE3o.", LOG_DEBUG, kWhere, __LINE__);
    return genericError();
  }
  if (!picture.readPixels()) return failedToOpen();

  const std::vector<uint8_t> command = gerarRaster(thresholdMask(picture));
  // The picture goes out here, in one write whose result is not looked at.
  if (AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe()) {
    pipe->write(command.data(), static_cast<int32_t>(command.size()));
  }
  size_ = 0;
  return kPrinted;
}
