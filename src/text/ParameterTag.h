// ParameterTag.h - the tags with a parameter between their open and close
// tags (<sn>, <sp>, <confgui>, <cespl>, <slm>, <mg>): at every tag of the
// text each looks at the rest of the text (at most 4999 characters of it)
// and takes its content out of it. The open tag sends nothing and steps over
// the content; the close tag sends the command.
#pragma once

#include <memory>
#include <vector>

#include "common/EscPos.h"
#include "text/ProtocolGeneric.h"

// What the close tag sends, made from the value n at the start of the
// content: nothing, n times one byte (n from 1 to 5000), or a command with n
// as its parameter byte (n not 0). Any other n is rejected with "-99".
struct CloseCommand {
  bool repeats = false;
  uint8_t byte = 0;
  escpos::Command3 (*withValue)(uint8_t n) = nullptr;
};
constexpr CloseCommand repeatedByte(uint8_t byte) { return {true, byte, nullptr}; }
constexpr CloseCommand commandWithValue(escpos::Command3 (*command)(uint8_t n)) {
  return {false, 0, command};
}

class ParameterTag : public ProtocolGeneric {
 public:
  // The content buffer; its last byte stays zero, so a content holds at most
  // 319 characters. A longer one makes the open tag answer "-99".
  static constexpr int kContentSize = 320;

  // Once per text, before its first tag: where the open and close texts
  // stand in it, so that no refresh has to look through the rest of it.
  void prepareText(const char* text, int length) override;
  // The parser's refresh at the tag at place of the text: the content out
  // of the text from there to its end, or to 4999 characters.
  void refresh(const char* position, int place) override;
  const uint8_t* getBytes() override;
  const uint8_t* getBytes2() override;

 protected:
  // invalidMessage: the DEBUG line of a rejected parameter (nullptr: none).
  ParameterTag(const TagRow& row, const char* invalidMessage, CloseCommand close = {});

  // Walks text[begin, end): after the open text every character up to the
  // close text is taken, and the open length grows by one for each, so that
  // the parser steps over the content. The open text is compared over the
  // open length, which has grown once a content was taken: then it is found
  // again only where the walk ends. The inside flag lasts from one walk to
  // the next.
  virtual void extractContent(int begin, int end);
  // Takes text[from, to) into content() from index on, growing the open
  // length; marks the content as too long when it would not fit.
  void take(int from, int to, int& index);
  // The first place in [from, to] where the open (or close) text starts,
  // or -1.
  int nextOpen(int from, int to) const { return nextOf(opens_, from, to); }
  int nextClose(int from, int to) const { return nextOf(closes_, from, to); }

  char* content() { return content_.get(); }
  // The decimal value at the start of the content.
  int value() const { return readDecimal(content_.get(), kContentSize); }

  const uint8_t* reject(const char* where);  // "-99" with the class's line

  bool inside_ = false;
  bool overflowed_ = false;

 private:
  static int nextOf(const std::vector<int>& places, int from, int to);
  // Where a walk that has taken content finds the open text: only ending
  // exactly at end.
  bool opensAtEnd(int from, int end) const;

  const char* const invalidMessage_;
  const CloseCommand close_;
  std::unique_ptr<char[]> content_;
  const char* text_ = nullptr;
  int textLength_ = 0;
  std::vector<int> opens_;
  std::vector<int> closes_;
};

// clang-format off
// <sn>n</sn>: n bytes 1E.
class TagSN : public ParameterTag { public: explicit TagSN(const TagRow& row); };
// <sp>n</sp>: n spaces.
class Tag_sp : public ParameterTag { public: explicit Tag_sp(const TagRow& row); };
// <confgui>x</confgui>: taken and stepped over; nothing is sent.
class Tag_configui : public ParameterTag { public: explicit Tag_configui(const TagRow& row); };
// <cespl>n</cespl>: ESC 3 n, line spacing.
class Tag_cespl : public ParameterTag { public: explicit Tag_cespl(const TagRow& row); };
// clang-format on

// <slm>n</slm>: ESC J n, feed n dots.
class Tag_slm : public ParameterTag {
 public:
  explicit Tag_slm(const TagRow& row);
  // The refresh says so in a DEBUG line first.
  void refresh(const char* position, int place) override;
};

// <mg>L;R</mg>: left margin L and right margin R in characters.
class Tag_mg : public ParameterTag {
 public:
  explicit Tag_mg(const TagRow& row);
  const uint8_t* getBytes2() override;
};
