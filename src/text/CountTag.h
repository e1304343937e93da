// CountTag.h - a tag whose content is a count of one byte, 1 to 255, in
// at most three digits (<sl>n</sl>, <altbarras>n</altbarras>): the open tag
// sends a command with the count and steps over the digits; the close tag
// sends nothing.
#pragma once

#include "common/EscPos.h"
#include "text/ProtocolGeneric.h"

struct CountTagDefinition {
  escpos::Command3 (*command)(uint8_t n);
  // The count is judged before the close tag is looked for.
  bool valueFirst;
  // Log lines: said first (DEBUG; nullptr ends the list), no text and a bad
  // count (ERROR), the bytes ready and the close (DEBUG; nullptr: none).
  const char* start[3];
  const char* noData;
  const char* invalid;
  const char* returning;
  const char* closeLine;
};

class CountTag : public DefinedTag<CountTagDefinition> {
 public:
  using DefinedTag::DefinedTag;
  const uint8_t* getBytes() override;

 protected:
  // The text right after the open tag; null when there is none.
  virtual const char* content() const;
};
