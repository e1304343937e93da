// ProtocolGeneric.cpp - the tag object's buffer and the shared tag values.
#include "text/ProtocolGeneric.h"

#include <climits>
#include <cstring>

#include "log/Log.h"

const char* currentTagText = nullptr;
bool precisaQuebraLinha = true;

namespace {

bool blank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
}  // namespace

int readDecimal(const char* text, std::size_t limit) {
  std::size_t i = 0;
  while (i < limit && blank(text[i])) ++i;
  bool negative = false;
  if (i < limit && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < limit && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value <= INT_MAX) value = value * 10 + (text[i] - '0');
  }
  if (value > INT_MAX) value = INT_MAX;
  return static_cast<int>(negative ? -value : value);
}

ProtocolGeneric::ProtocolGeneric(const TagRow& row)
    : row_(row),
      openText_(row.openText),
      closeText_(row.closeText),
      openLength_(row.openLength),
      closeLength_(row.closeLength),
      whereOpen_(std::string(row.className) + "::getBytes"),
      whereClose_(std::string(row.className) + "::getBytes2"),
      output_(new uint8_t[kBufferSize]) {}  // only what a tag writes is read

const uint8_t* ProtocolGeneric::getBytes() { return output_.get(); }
const uint8_t* ProtocolGeneric::getBytes2() { return output_.get(); }

void ProtocolGeneric::clearOutput(int n) {
  std::memset(output_.get(), 0, static_cast<std::size_t>(n));
  size_ = 0;
}

void ProtocolGeneric::append(const uint8_t* bytes, int n) {
  if (n <= 0 || n > kBufferSize - size_) return;
  std::memcpy(output_.get() + size_, bytes, static_cast<std::size_t>(n));
  size_ += n;
}

void ProtocolGeneric::repeat(uint8_t byte, int times) {
  if (times <= 0 || times > kBufferSize - size_) return;
  std::memset(output_.get() + size_, byte, static_cast<std::size_t>(times));
  size_ += times;
}

// A marker answers its text and the terminating zero.
const uint8_t* ProtocolGeneric::invalid() {
  size_ = sizeof kMarkerInvalid;
  return reinterpret_cast<const uint8_t*>(kMarkerInvalid);
}

const uint8_t* ProtocolGeneric::genericError() {
  size_ = sizeof kMarkerGenericError;
  return reinterpret_cast<const uint8_t*>(kMarkerGenericError);
}

int ProtocolTagGeneric::measureContent(const char* content, int window) const {
  const std::size_t n = static_cast<std::size_t>(row_.closeLength);
  for (int i = 0; i < window; ++i) {
    if (std::strncmp(content + i, row_.closeText, n) == 0) return i;
    if (content[i] == '\0') return -1;
  }
  return -1;
}

const uint8_t* ProtocolTagGeneric::sendNothing(const char* line) {
  size_ = 0;
  if (line) tq587::log(line, LOG_DEBUG, whereClose(), __LINE__);
  return output();
}
