// UsbBlock.h - block mode on USB: the writes of one text gathered into bulk
// transfers of up to 4,096 bytes, instead of one transfer for each
// character and each tag. A text keeps no wait between its writes, so its
// blocks go out when they are full and at the end of the text.
#pragma once

#include <cstdint>
#include <vector>

#include "connection/AbstractCommunicationPipe.h"

class UsbBlock : public AbstractCommunicationPipe {
 public:
  // The most bytes one bulk transfer of a block carries.
  static constexpr int32_t kSize = 4096;

  // Gathers for pipe from now on: a block goes out when it is full.
  void begin(AbstractCommunicationPipe& pipe);
  // Sends what is gathered and lets go of the pipe: whether every block
  // was taken whole.
  bool end();
  bool active() const { return pipe_ != nullptr; }
  // False once a block was not taken whole: nothing more is sent.
  bool taken() const { return taken_; }

  int startCommunication() override { return pipe_->startCommunication(); }
  int read(uint8_t* bytes, int32_t length) override { return pipe_->read(bytes, length); }
  // Gathers the bytes and answers them as taken (dropped once a block was
  // not taken).
  int write(const uint8_t* bytes, int32_t length) override;
  int close() override { return pipe_->close(); }

 private:
  // One bulk transfer of what is gathered.
  void send();

  AbstractCommunicationPipe* pipe_ = nullptr;
  std::vector<uint8_t> gathered_;
  bool taken_ = true;
};
