// ImprimeTexto.h - the text engine: walks a marked-up text, prints its
// characters and converts its tags through one object per row of the tag
// table (Tags.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "text/ProtocolGeneric.h"

class ImprimeTexto {
 public:
  // Longest text accepted, in characters (or as declared by n).
  static constexpr int kMaxCharacters = 2000;

  ImprimeTexto();
  ~ImprimeTexto();
  ImprimeTexto(const ImprimeTexto&) = delete;
  ImprimeTexto& operator=(const ImprimeTexto&) = delete;

  // Prints text. n = 0: the limit applies to the text's length; otherwise
  // to n. A TQ587_Result: done, not done (printer not reached or a character
  // not sent), invalid parameter (empty or too long text, or a tag's bad
  // parameter), or a tag's update or generic error.
  int tratarTexto(const char* text, int n);
  // Converts the tag at position (a '<'): the characters to step over, 0 when
  // nothing could be sent, or the tag's error result.
  int convertTag(const char* position);

 private:
  // The most bytes one tag sends.
  static constexpr int kWorkSize = 50000;

  // The text's characters and tags, then its end: tratarTexto's result.
  int sendText(const char* text, std::size_t length, bool measuring);
  // Sends what a matched tag answered, or turns its error marker into the
  // result; step is what the parser steps over on success.
  int sendTag(const uint8_t* bytes, int length, int step);
  // The end of the text, and the stop when a tag could not be sent: the
  // final line feed when ENTERAUTOMATICO is '1', and the text's result.
  int finishText(bool measuring);
  int stopText(bool measuring, int lastWrite);

  // The text being printed.
  const char* text_ = nullptr;
  // The tag objects in search order.
  std::vector<std::unique_ptr<ProtocolGeneric>> table_;
  // Those that read a parameter out of the text, refreshed before every
  // search.
  std::vector<ProtocolGeneric*> parameterTags_;
};
