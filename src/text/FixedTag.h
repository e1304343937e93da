// FixedTag.h - a tag with a fixed command for its open tag and for its close
// tag, both in its row of the tag table: the character modes, alignment,
// line feed, tab, stored image, drawer, paper cut and the tags that send
// nothing.
#pragma once

#include "text/ProtocolGeneric.h"

class FixedTag : public ProtocolGeneric {
 public:
  explicit FixedTag(const TagRow& row) : ProtocolGeneric(row) {}

  const uint8_t* getBytes() override;
  const uint8_t* getBytes2() override;

 private:
  void logUnlessSilent(const char* message, int level, const char* where, int line) const;
};
