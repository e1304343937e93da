// EscPosDecoderTest.cpp - bytes in, listing lines out, case by case as
// tests/data/listing.txt gives them.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "EscPosDecoder.h"

namespace {

struct Case {
  std::string name;
  std::vector<uint8_t> bytes;
  std::vector<std::string> listing;
};

// Reads the cases of a listing file; its first lines say how they are written.
std::vector<Case> readCases(const std::string& path) {
  std::ifstream in(path);
  std::vector<Case> cases;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    if (line.rfind("== ", 0) == 0) {
      cases.push_back({line.substr(3), {}, {}});
    } else if (cases.empty()) {
      ADD_FAILURE() << "a line before the first case: " << line;
    } else if (line.rfind("< ", 0) == 0) {
      std::istringstream words(line.substr(2));
      for (std::string word; words >> word;) {
        const size_t star = word.find('*');
        const size_t times = star == std::string::npos ? 1 : std::stoul(word.substr(star + 1));
        const auto byte = static_cast<uint8_t>(std::stoul(word.substr(0, star), nullptr, 16));
        cases.back().bytes.insert(cases.back().bytes.end(), times, byte);
      }
    } else {
      cases.back().listing.push_back(line);
    }
  }
  return cases;
}

TEST(EscPosDecoder, ListsEachCaseOfTheListingFile) {
  const std::vector<Case> cases = readCases(TQ587_VPRINTER_TEST_DATA "/listing.txt");
  ASSERT_GE(cases.size(), 30u) << "listing.txt not found or cut short";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // The bytes are exactly as long as the case: a read past them is seen
    // by the sanitizer build.
    EXPECT_EQ(vprinter::decodeListing(c.bytes.data(), c.bytes.size()), c.listing);
  }
}

}  // namespace
