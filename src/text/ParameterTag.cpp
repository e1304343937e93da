// ParameterTag.cpp - the content extractor and the parameter tags.
#include "text/ParameterTag.h"

#include <algorithm>
#include <cstring>

#include "common/EscPos.h"
#include "log/Log.h"

namespace {
constexpr int kMaxContent = ParameterTag::kContentSize - 1;
// A tag sees at most this many characters of the rest of the text.
constexpr int kMaxSeen = ProtocolGeneric::kBufferSize - 1;

void placesOf(const char* text, const char* wanted, std::vector<int>& places) {
  places.clear();
  for (const char* p = std::strstr(text, wanted); p; p = std::strstr(p + 1, wanted)) {
    places.push_back(static_cast<int>(p - text));
  }
}
}  // namespace

ParameterTag::ParameterTag(const TagRow& row, const char* invalidMessage, CloseCommand close)
    : ProtocolGeneric(row),
      invalidMessage_(invalidMessage),
      close_(close),
      content_(new char[kContentSize]()) {}

void ParameterTag::prepareText(const char* text, int length) {
  text_ = text;
  textLength_ = length;
  placesOf(text, openText_, opens_);
  placesOf(text, closeText_, closes_);
}

void ParameterTag::refresh(const char*, int place) {
  const int end = place + std::min(kMaxSeen, textLength_ - place);
  if (end > place) extractContent(place, end);
}

int ParameterTag::nextOf(const std::vector<int>& places, int from, int to) {
  const auto it = std::lower_bound(places.begin(), places.end(), from);
  return it != places.end() && *it <= to ? *it : -1;
}

bool ParameterTag::opensAtEnd(int from, int end) const {
  const int place = end - row().openLength;
  return place >= from && nextOpen(place, place) == place;
}

void ParameterTag::extractContent(int begin, int end) {
  const int initial = row().openLength;
  const int closeLength = row().closeLength;
  int k = 0;
  int j = begin;
  while (j < end) {
    const bool untouched = openLength_ == initial;  // no content taken yet
    int open = untouched ? nextOpen(j, end - initial) : (opensAtEnd(j, end) ? end - initial : -1);
    if (inside_) {
      // Every character up to the next open or close text is taken.
      const int close = nextClose(j, end - closeLength);
      int event = close >= 0 ? close : end;
      if (open >= 0 && open < event) event = open;
      if (untouched && j < event) {
        take(j, j + 1, k);  // the first one changes where the open text is found
        ++j;
        continue;
      }
      take(j, event, k);
      if (event == end) return;
      if (event == close) {
        inside_ = false;
        j = close + 1;
        continue;
      }
    }
    if (open < 0) return;
    // The open text: step over it, and take the character after it.
    j = open + openLength_;
    inside_ = true;
    if (j < end) take(j, j + 1, k);
    ++j;
  }
}

void ParameterTag::take(int from, int to, int& index) {
  for (int j = from; j < to; ++j) {
    if (index >= kMaxContent || openLength_ - row().openLength >= kMaxContent) {
      overflowed_ = true;
      return;
    }
    content_[index++] = text_[j];
    ++openLength_;
  }
}

const uint8_t* ParameterTag::getBytes() {
  if (overflowed_) return reject(whereOpen());
  clearOutput(kClearedStart);
  return output();
}

const uint8_t* ParameterTag::reject(const char* where) {
  if (invalidMessage_) tq587::log(invalidMessage_, LOG_DEBUG, where, __LINE__);
  return invalid();
}

const uint8_t* ParameterTag::getBytes2() {
  const int n = value();
  if (close_.repeats) {
    if (n == 0 || n > kBufferSize) return reject(whereClose());
    clearOutput(kClearedStart);
    repeat(close_.byte, n);  // a negative count sends nothing
  } else if (close_.withValue) {
    if (n == 0) return reject(whereClose());
    clearOutput(kClearedStart);
    append(close_.withValue(escpos::lowByte(static_cast<uint32_t>(n))));
  } else {
    clearOutput(kClearedStart);
  }
  return output();
}

TagSN::TagSN(const TagRow& row)
    : ParameterTag(row, "parametro inv\xE1lido", repeatedByte(escpos::RS)) {}

Tag_sp::Tag_sp(const TagRow& row)
    : ParameterTag(row, "Valor invalido para <sp></sp>", repeatedByte(' ')) {}

Tag_configui::Tag_configui(const TagRow& row) : ParameterTag(row, nullptr) {}

Tag_cespl::Tag_cespl(const TagRow& row)
    : ParameterTag(row, "Parametro inv\xE1lido.", commandWithValue(escpos::lineSpacing)) {}

Tag_slm::Tag_slm(const TagRow& row)
    : ParameterTag(row, "Caractere inv\xE1lido.", commandWithValue(escpos::feedDots)) {}
void Tag_slm::refresh(const char* position, int place) {
  tq587::log("Buffer[5000] carregado com zeros", LOG_DEBUG, "Tag_slm::setTexto", __LINE__);
  ParameterTag::refresh(position, place);
}

Tag_mg::Tag_mg(const TagRow& row) : ParameterTag(row, "Parametro inv\xE1lido.") {}

const uint8_t* Tag_mg::getBytes2() {
  constexpr int kMaxDigits = 4;
  // Exactly two numbers of one to four digits, split by ';' or '|'.
  int margins[2] = {0, 0};
  int taken = 0;
  int digits = 0;
  int number = 0;
  const char* text = content();
  for (int i = 0;; ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      if (++digits > kMaxDigits) return reject(whereClose());
      number = number * 10 + (c - '0');
    } else if (c == ';' || c == '|' || c == '\0') {
      if (digits == 0 || taken == 2) return reject(whereClose());
      margins[taken++] = number;
      number = 0;
      digits = 0;
      if (c == '\0') break;
    } else {
      return reject(whereClose());
    }
  }
  if (taken != 2 || margins[1] == 0) return reject(whereClose());
  const int left = margins[0] * escpos::kDotsPerCharacter;
  const int width = escpos::kPrintAreaDots - margins[1] * escpos::kDotsPerCharacter - left;
  if (width < 0) return reject(whereClose());

  clearOutput(9);
  if (precisaQuebraLinha) append(escpos::LF);
  append(escpos::leftMargin(static_cast<uint32_t>(left)));
  append(escpos::printWidth(static_cast<uint32_t>(width)));
  return output();
}
