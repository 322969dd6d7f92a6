#pragma once

#include <windows.h>

#include <span>

#include "platform/win32/unique_handle.h"

// Decodes a BMP file held in memory (uncompressed, 1 to 32 bits per pixel)
// into a bitmap; an empty object when the bytes are not such a file.
GdiObject<HBITMAP> DecodeBitmap(std::span<const unsigned char> bmpFile);
