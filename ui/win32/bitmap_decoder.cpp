#include "ui/win32/bitmap_decoder.h"

#include <cstring>
#include <vector>

GdiObject<HBITMAP> DecodeBitmap(std::span<const unsigned char> file) {
  BITMAPFILEHEADER fileHeader{};
  BITMAPINFOHEADER infoHeader{};
  if (file.size() < sizeof fileHeader + sizeof infoHeader) return {};
  std::memcpy(&fileHeader, file.data(), sizeof fileHeader);
  std::memcpy(&infoHeader, file.data() + sizeof fileHeader, sizeof infoHeader);
  if (fileHeader.bfType != 0x4D42 || infoHeader.biSize < sizeof infoHeader) return {};
  if (infoHeader.biCompression != BI_RGB || infoHeader.biWidth <= 0 || infoHeader.biHeight == 0 ||
      infoHeader.biWidth > 16384 || infoHeader.biHeight > 16384 || infoHeader.biHeight < -16384)
    return {};
  const int bits = infoHeader.biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return {};

  size_t colours = infoHeader.biClrUsed != 0 ? infoHeader.biClrUsed : (bits <= 8 ? 1u << bits : 0);
  if (colours > 256) return {};
  const size_t headerEnd = sizeof fileHeader + infoHeader.biSize;
  const size_t paletteBytes = colours * sizeof(RGBQUAD);
  const size_t stride = ((static_cast<size_t>(infoHeader.biWidth) * bits + 31) / 32) * 4;
  const size_t rows =
      static_cast<size_t>(infoHeader.biHeight < 0 ? -infoHeader.biHeight : infoHeader.biHeight);
  const size_t imageBytes = stride * rows;
  if (headerEnd + paletteBytes > file.size() || fileHeader.bfOffBits < headerEnd + paletteBytes ||
      fileHeader.bfOffBits > file.size() || file.size() - fileHeader.bfOffBits < imageBytes)
    return {};

  // BITMAPINFO with its palette, copied to aligned memory.
  std::vector<DWORD> info((sizeof(BITMAPINFOHEADER) + paletteBytes + 3) / 4 + 1);
  infoHeader.biSize = sizeof infoHeader;
  std::memcpy(info.data(), &infoHeader, sizeof infoHeader);
  std::memcpy(reinterpret_cast<unsigned char*>(info.data()) + sizeof infoHeader,
              file.data() + headerEnd, paletteBytes);

  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()),
                                    DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (!bitmap || !pixels) {
    if (bitmap) DeleteObject(bitmap);
    return {};
  }
  std::memcpy(pixels, file.data() + fileHeader.bfOffBits, imageBytes);
  GdiFlush();
  return GdiObject<HBITMAP>(bitmap);
}
