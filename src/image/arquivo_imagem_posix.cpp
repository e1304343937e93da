// arquivo_imagem_posix.cpp - a picture file on POSIX: opened with O_NONBLOCK
// so that a FIFO without a writer does not hold the caller, then fstat to
// keep regular files only, then pread.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "image/ArquivoImagem.h"

ArquivoImagem::~ArquivoImagem() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

bool ArquivoImagem::abrir(const char* caminho) {
  const int fd = ::open(caminho, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return false;
  }
  handle_ = fd;
  tamanho_ = static_cast<int64_t>(info.st_size);
  return true;
}

size_t ArquivoImagem::lerEm(int64_t offset, uint8_t* bytes, size_t n) {
  size_t lidos = 0;
  while (handle_ >= 0 && lidos < n) {
    const ssize_t r = ::pread(static_cast<int>(handle_), bytes + lidos, n - lidos,
                              static_cast<off_t>(offset) + static_cast<off_t>(lidos));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    lidos += static_cast<size_t>(r);
  }
  return lidos;
}
