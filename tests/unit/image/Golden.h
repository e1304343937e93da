// Golden.h - the picture corpus in tests/data/images and the outputs
// recorded for it: every BMP file there is printed, and what came out (the
// result, the log lines, each write) is compared with the expected file of
// that way of printing. TQ587_GOLDEN_WRITE=1 in the environment writes the
// expected file instead, from the code as it is.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace golden {

inline std::string corpusDir() {
  return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "data" /
         "images";
}

// Full paths of the corpus files, by name.
inline std::vector<std::string> corpus() {
  std::vector<std::string> paths;
  for (const auto& entry : std::filesystem::directory_iterator(corpusDir())) {
    if (entry.path().extension() == ".bmp") paths.push_back(entry.path().string());
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

inline uint64_t fnv1a64(const Bytes& bytes) {
  uint64_t hash = 0xCBF29CE484222325u;
  for (uint8_t b : bytes) hash = (hash ^ b) * 0x100000001B3u;
  return hash;
}

// One write: its length and its bytes in hex, or their FNV-1a 64 hash past 4 KB.
inline std::string describe(const Bytes& write) {
  char text[40];
  std::snprintf(text, sizeof text, "write %zu ", write.size());
  std::string line = text;
  if (write.size() > 4096) {
    std::snprintf(text, sizeof text, "fnv1a64 %016llx",
                  static_cast<unsigned long long>(fnv1a64(write)));
    return line + text;
  }
  for (uint8_t b : write) {
    std::snprintf(text, sizeof text, "%02x", b);
    line += text;
  }
  return line;
}

// What one file printed, as lines: the result, the log lines, the writes.
inline std::string record(const std::string& result, const LogCapture& log,
                          const std::vector<Bytes>& writes) {
  std::string block = "result " + result + "\n";
  for (const LogCapture::Line& l : log.lines()) {
    block += "log " + std::to_string(l.level) + " " + l.where + " " + l.message + "\n";
  }
  for (const Bytes& w : writes) block += describe(w) + "\n";
  return block;
}

// Runs print on every corpus file (print returns the record of one file)
// and compares with, or writes, the expected file of that name.
inline void check(const std::string& expectedName,
                  const std::function<std::string(const std::string& path)>& print) {
  std::map<std::string, std::string> actual;
  for (const std::string& path : corpus()) {
    actual[std::filesystem::path(path).filename().string()] = print(path);
  }
  const std::string expectedPath = corpusDir() + "/" + expectedName;
  if (std::getenv("TQ587_GOLDEN_WRITE")) {
    std::ofstream out(expectedPath, std::ios::binary);
    for (const auto& [name, block] : actual) out << "== " << name << "\n" << block;
    return;
  }
  std::ifstream in(expectedPath, std::ios::binary);
  ASSERT_TRUE(in) << expectedPath;
  std::map<std::string, std::string> expected;
  std::string line, name;
  while (std::getline(in, line)) {
    if (line.rfind("== ", 0) == 0) {
      name = line.substr(3);
      expected[name];
    } else {
      expected[name] += line + "\n";
    }
  }
  EXPECT_EQ(expected.size(), actual.size());
  for (const auto& [file, block] : actual) {
    SCOPED_TRACE(file);
    EXPECT_EQ(block, expected[file]);
  }
}

}  // namespace golden
