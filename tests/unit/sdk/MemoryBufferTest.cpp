// The memory buffer: what Write and Read transfer, how SetData takes its
// block, and how Seek moves the positions.
#include <gtest/gtest.h>

#include <climits>

#include "support/TestSupport.h"
#include "sdk/Stream.h"

namespace {

Bytes contents(const SDK::MEMORY_BUFFER& buffer) {
  return Bytes(buffer.Data(), buffer.Data() + buffer.Capacity());
}

TEST(MemoryBuffer, TransfersWholeElementsWithinItsBounds) {
  struct Case {
    const char* name;
    uint32_t capacity, elementSize;
    int firstWrite, secondWrite, written1, written2;  // elements asked, answered
    int readAsked, read1, read2;
  };
  const Case kCases[] = {
      {"second write cut at the capacity", 10, 1, 6, 6, 6, 4, 20, 10, 0},
      {"read stops at what was written", 10, 1, 6, 0, 6, 0, 10, 6, 0},
      {"elements of 4 bytes: 8 of 10 bytes fit", 10, 4, 3, 1, 2, 0, 5, 2, 0},
      {"element size 0 is taken as 1", 4, 0, 3, 3, 3, 1, 9, 4, 0},
  };
  const uint8_t source[20] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    SDK::MEMORY_BUFFER buffer;
    ASSERT_TRUE(buffer.SetData(nullptr, c.capacity, c.elementSize));
    EXPECT_EQ(c.written1, buffer.Write(source, c.firstWrite));
    EXPECT_EQ(c.written2, buffer.Write(source + c.firstWrite, c.secondWrite));
    uint8_t out[40] = {};
    EXPECT_EQ(c.read1, buffer.Read(out, c.readAsked));
    EXPECT_EQ(c.read2, buffer.Read(out, c.readAsked));
    if (c.read1 == 10) {  // the cut write went on at the write position
      EXPECT_EQ((Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}), contents(buffer));
    }
  }
}

TEST(MemoryBuffer, SetDataKeepsGrowsOrBorrowsTheBlock) {
  SDK::MEMORY_BUFFER buffer;
  ASSERT_TRUE(buffer.SetData(nullptr, 3, 1));
  const uint8_t bytes[] = {7, 8, 9};
  buffer.Write(bytes, 3);
  ASSERT_TRUE(buffer.SetData(nullptr, 5, 2));  // grows, copying the old bytes
  EXPECT_EQ(5, buffer.Size());
  EXPECT_EQ((Bytes{7, 8, 9, 0, 0}), contents(buffer));
  const uint8_t* block = buffer.Data();
  uint8_t other[4] = {};
  ASSERT_TRUE(buffer.SetData(other, 4, 1));  // big enough: kept, even with data given
  EXPECT_EQ(block, buffer.Data());
  EXPECT_EQ(0, buffer.WritePosition());
  EXPECT_EQ((Bytes{7, 8, 9, 0, 0}), contents(buffer));

  uint8_t outside[6] = {};
  SDK::MEMORY_BUFFER borrowed;
  ASSERT_TRUE(borrowed.SetData(outside, 6, 1));
  EXPECT_FALSE(borrowed.IsOwned());
  EXPECT_EQ(reinterpret_cast<intptr_t>(outside), borrowed.Handle());
  borrowed.Write(bytes, 2);
  EXPECT_EQ(7, outside[0]);
  EXPECT_EQ(8, outside[1]);
  borrowed.Close();
  EXPECT_EQ(7, outside[0]);  // not freed, not cleared
}

TEST(MemoryBuffer, ClearZeroesButKeepsTheWritePosition) {
  SDK::MEMORY_BUFFER buffer;
  ASSERT_TRUE(buffer.SetData(nullptr, 8, 1));
  const uint8_t bytes[] = {5, 6, 7, 8};
  buffer.Write(bytes, 4);
  uint8_t out[4] = {};
  EXPECT_EQ(4, buffer.Read(out, 4));
  EXPECT_TRUE(buffer.AtEnd());
  buffer.Clear();
  EXPECT_FALSE(buffer.AtEnd());
  EXPECT_EQ(4, buffer.Read(out, 8));
  EXPECT_EQ((Bytes{0, 0, 0, 0}), Bytes(out, out + 4));
  EXPECT_TRUE(buffer.AtEnd());
}

TEST(MemoryBuffer, RefusesWhenClosedAndBadArguments) {
  SDK::MEMORY_BUFFER buffer;
  uint8_t bytes[4] = {};
  EXPECT_EQ(-1, buffer.Seek(0, 0));
  EXPECT_TRUE(buffer.AtEnd());
  EXPECT_FALSE(buffer.SetData(nullptr, 0, 1));  // no block, still closed
  ASSERT_TRUE(buffer.SetData(nullptr, 4, 1));
  EXPECT_EQ(-1, buffer.Write(bytes, -1));
  EXPECT_EQ(-1, buffer.Read(bytes, -1));
  EXPECT_EQ(-1, buffer.Write(nullptr, 1));
  EXPECT_EQ(0, buffer.WritePosition());
  buffer.Close();
  EXPECT_EQ(nullptr, buffer.Data());
  EXPECT_EQ(-1, buffer.ReadPosition());
  EXPECT_EQ(-1, buffer.WritePosition());
  EXPECT_EQ(-1, buffer.Write(bytes, 1));
  EXPECT_EQ(-1, buffer.Read(bytes, 1));
}

TEST(MemoryBuffer, SeekMovesBothPositions) {
  struct Case { const char* name; int32_t start, offset; int origin; int32_t result; };
  const Case kCases[] = {
      {"from the begin", 0, 4, 0, 4},
      {"from the position", 4, 2, 1, 6},
      {"back from the size", 0, 3, 2, 7},
      {"unknown origin leaves it", 5, 1, 3, 5},
      {"result beyond 32 bits leaves it", 6, INT32_MAX, 1, 6},
      {"negative result kept", 0, 12, 2, -2},
      {"beyond the end kept", 0, 12, 0, 12},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    SDK::MEMORY_BUFFER buffer;
    ASSERT_TRUE(buffer.SetData(nullptr, 10, 1));
    buffer.Seek(c.start, 0);
    EXPECT_EQ(c.result, buffer.Seek(c.offset, c.origin));
    EXPECT_EQ(c.result, buffer.Position());
    EXPECT_EQ(c.result, buffer.ReadPosition());
    EXPECT_EQ(c.result, buffer.WritePosition());
    if (c.result >= 0 && c.result < 10) continue;
    uint8_t bytes[4] = {1, 2, 3, 4};  // outside the block nothing moves
    EXPECT_EQ(0, buffer.Write(bytes, 4));
    EXPECT_EQ(0, buffer.Read(bytes, 4));
    EXPECT_EQ((Bytes(10, 0)), contents(buffer));
  }
}

}  // namespace
