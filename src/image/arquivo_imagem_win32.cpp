// arquivo_imagem_win32.cpp - a picture file on Windows: CreateFileA does not
// wait on a pipe or a device, and GetFileType keeps disk files only; reads
// give their offset in an OVERLAPPED on the synchronous handle.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>

#include "image/ArquivoImagem.h"

namespace {
HANDLE toHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
}  // namespace

ArquivoImagem::~ArquivoImagem() {
  if (handle_ != -1) CloseHandle(toHandle(handle_));
}

bool ArquivoImagem::abrir(const char* caminho) {
  HANDLE h = CreateFileA(caminho, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  if (GetFileType(h) != FILE_TYPE_DISK || !GetFileSizeEx(h, &size)) {
    CloseHandle(h);
    return false;
  }
  handle_ = reinterpret_cast<intptr_t>(h);
  tamanho_ = size.QuadPart;
  return true;
}

size_t ArquivoImagem::lerEm(int64_t offset, uint8_t* bytes, size_t n) {
  size_t lidos = 0;
  while (handle_ != -1 && lidos < n) {
    const uint64_t at = static_cast<uint64_t>(offset) + lidos;
    OVERLAPPED where = {};
    where.Offset = static_cast<DWORD>(at);
    where.OffsetHigh = static_cast<DWORD>(at >> 32);
    const DWORD ask = static_cast<DWORD>(std::min<size_t>(n - lidos, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(toHandle(handle_), bytes + lidos, ask, &got, &where) || got == 0) break;
    lidos += got;
  }
  return lidos;
}
