# Writes the bytes of INPUT as a C++ array into OUTPUT.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT}
"// Generated from resources/banner.bmp; do not edit.
#include \"app/banner.h\"

namespace {
const unsigned char kBanner[${size}] = {
${bytes}
};
}  // namespace

std::span<const unsigned char> BannerBytes() { return kBanner; }
")
