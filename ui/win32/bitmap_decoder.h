#pragma once

#include <windows.h>

#include <span>

#include "ui/win32/gdi_object.h"

// Decodes a BMP file held in memory (uncompressed, 1 to 32 bits per pixel)
// into a bitmap; an empty object when the bytes are not such a file.
GdiObject<HBITMAP> DecodeBitmap(std::span<const unsigned char> bmpFile);
