// AbstractCommunicationPipe.h - one connection to the printer.
#pragma once

#include <cstdint>

class AbstractCommunicationPipe {
 public:
  virtual ~AbstractCommunicationPipe() = default;
  // Open the connection and check that the printer is there: 1 open, 0 not.
  virtual int startCommunication() = 0;
  // Up to length bytes into bytes: the count, 0 or negative when nothing came.
  virtual int read(uint8_t* bytes, int32_t length) = 0;
  // Send length bytes: the count sent, 0 or negative on failure.
  virtual int write(const uint8_t* bytes, int32_t length) = 0;
  // Close: 1 closed, 0 the close failed.
  virtual int close() = 0;
};
