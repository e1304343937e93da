// MiscTags.h - the date and time tags, the line-feed count, the line of
// one repeated character and the paper cut.
#pragma once

#include "text/CountTag.h"
#include "text/FixedTag.h"

// <gui></gui>: the paper cut, which also reads the configuration afresh.
class Tag_gui : public FixedTag {
 public:
  using FixedTag::FixedTag;
  const uint8_t* getBytes() override;
};

// The local date or time as text, sent with its terminating zero.
class DateTimeTag : public ProtocolGeneric {
 public:
  const uint8_t* getBytes() override;

 protected:
  struct Definition {
    const char* format;      // strftime format
    const char* failure;     // ERROR line when the format gives nothing
    const char* bytesOk;     // DEBUG line once the text is in the output
  };
  DateTimeTag(const TagRow& row, const Definition& definition)
      : ProtocolGeneric(row), definition_(definition) {}

 private:
  const Definition definition_;
};

// <dt></dt> and <hr></hr>.
// clang-format off
class DataAtual : public DateTimeTag { public: explicit DataAtual(const TagRow&); };
class HoraAtual : public DateTimeTag { public: explicit HoraAtual(const TagRow&); };
// clang-format on

// <sl>n</sl>: ESC d n, print and feed n lines (1 to 255).
class EnterCustom : public CountTag {
 public:
  explicit EnterCustom(const TagRow& row);
  // The parser's refresh: the open length back to its own, and
  // the text right after "<sl>".
  void SetBytes(const char* parameter);
  void refresh(const char* position, int place) override;

 protected:
  const char* content() const override { return parameter_; }

 private:
  const char* parameter_ = nullptr;
};

// <tc>c</tc>: a line of the character c.
class Tagtc : public ProtocolGeneric {
 public:
  explicit Tagtc(const TagRow& row);
  // The parser's refresh: the character right after "<tc>".
  void SetChar(const char* character);
  void refresh(const char* position, int place) override;
  const uint8_t* getBytes() override;
  const uint8_t* getBytes2() override;

 private:
  const char* character_ = nullptr;
};
