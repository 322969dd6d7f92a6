#pragma once

#include <span>

// The bytes of the banner picture (resources/banner.bmp): a 200 x 59, 8-bit
// BMP with a 128-colour palette, "264 over flames".
std::span<const unsigned char> BannerBytes();
