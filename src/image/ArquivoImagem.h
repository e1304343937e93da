// ArquivoImagem.h - a picture file open for reading.
//
// Only a regular file opens, and opening never waits: a FIFO or a device
// named as a picture would block a plain open or read for ever, so the file
// is opened without waiting and refused unless it is a regular file. One
// file per platform holds the calls (arquivo_imagem_posix.cpp,
// arquivo_imagem_win32.cpp).
#pragma once

#include <cstddef>
#include <cstdint>

class ArquivoImagem {
 public:
  ArquivoImagem() = default;
  ~ArquivoImagem();
  ArquivoImagem(const ArquivoImagem&) = delete;
  ArquivoImagem& operator=(const ArquivoImagem&) = delete;

  // false when the path names nothing, cannot be read or is not a regular file.
  bool abrir(const char* caminho);
  // The size of the file when it was opened.
  int64_t tamanho() const { return tamanho_; }
  // Reads up to n bytes from the offset on: fewer at the end of the file,
  // none past it or when the system refuses.
  size_t lerEm(int64_t offset, uint8_t* bytes, size_t n);

 private:
  intptr_t handle_ = -1;
  int64_t tamanho_ = 0;
};
