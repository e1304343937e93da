// text_dict - prints the fuzzing dictionary of the mark-up: the open and
// close text of every row of the tag table, and a picture path the corpus
// names. The fuzz build writes it to text.dict.
#include <cstdio>

#include "text/Tags.h"

int main() {
  std::printf("# every tag text of the mark-up, from src/text/Tags.h\n");
  for (const TagRow& tag : tags::kTable) {
    std::printf("\"%s\"\n", tag.openText);
    if (tag.closeLength > 0) std::printf("\"%s\"\n", tag.closeText);
  }
  std::printf("\"<ibmp>a.bmp</ibmp>\"\n");
  return 0;
}
