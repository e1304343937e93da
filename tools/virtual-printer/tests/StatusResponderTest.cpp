// StatusResponderTest.cpp - which requests the virtual printer answers.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "StatusResponder.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Case {
  const char* name;
  long printerSpeed;  // 0: any
  bool silent;
  std::vector<Bytes> chunks;  // as the reads deliver them
  long lineSpeed;
  Bytes replies;
};

TEST(StatusResponder, AnswersStatusRequestsAtItsSpeed) {
  const Case kCases[] = {
      {"printer status", 0, false, {{0x10, 0x04, 0x01}}, 9600, {0x16}},
      {"off-line, error and paper status at any speed", 0, false,
       {{0x10, 0x04, 0x02, 0x10, 0x04, 0x03, 0x10, 0x04, 0x04}}, 2400, {0x12, 0x12, 0x12}},
      {"n out of range", 0, false, {{0x10, 0x04, 0x00, 0x10, 0x04, 0x05}}, 9600, {}},
      {"matching speed", 9600, false, {{0x10, 0x04, 0x02}}, 9600, {0x12}},
      {"other speed", 9600, false, {{0x10, 0x04, 0x02}}, 4800, {}},
      {"silent port", 0, true, {{0x10, 0x04, 0x01}}, 9600, {}},
      {"request split over three reads", 0, false, {{0x41, 0x10}, {0x04}, {0x01, 0x42}}, 9600, {0x16}},
      {"DLE DLE EOT n still a request", 0, false, {{0x10, 0x10, 0x04, 0x01}}, 9600, {0x16}},
      {"EOT without DLE", 0, false, {{0x04, 0x01}}, 9600, {}},
      {"request right after a bad one", 0, false, {{0x10, 0x04, 0x10, 0x04, 0x01}}, 9600, {0x16}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    vprinter::StatusResponder responder(c.printerSpeed, c.silent);
    Bytes replies;
    for (const Bytes& chunk : c.chunks) responder.receive(chunk.data(), chunk.size(), c.lineSpeed, replies);
    EXPECT_EQ(replies, c.replies);
  }
}

}  // namespace
