#include "platform/win32/avi_media_probe.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "gui/gui_support.h"
#include "platform/win32/wide_text.h"

namespace {

void Put32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}
void Put16(std::string& out, std::uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}
std::string Chunk(const char* id, const std::string& data) {
  std::string out(id, 4);
  Put32(out, static_cast<std::uint32_t>(data.size()));
  out += data;
  if (data.size() % 2) out += '\0';
  return out;
}
std::string List(const char* type, const std::string& data) {
  return Chunk("LIST", std::string(type, 4) + data);
}

// An uncompressed AVI of `frames` frames of 8 x 8 pixels at rate/scale
// frames per second.
std::string MakeAvi(std::uint32_t frames, std::uint32_t rate, std::uint32_t scale) {
  const std::uint32_t width = 8, height = 8, frameBytes = width * height * 3;
  std::string avih;
  Put32(avih, static_cast<std::uint32_t>(1000000ull * scale / rate));
  Put32(avih, frameBytes * rate / scale);
  Put32(avih, 0);
  Put32(avih, 0x10);  // has an index
  Put32(avih, frames);
  Put32(avih, 0);
  Put32(avih, 1);
  Put32(avih, frameBytes);
  Put32(avih, width);
  Put32(avih, height);
  for (int i = 0; i < 4; ++i) Put32(avih, 0);

  std::string strh = "vidsDIB ";
  Put32(strh, 0);
  Put16(strh, 0);
  Put16(strh, 0);
  Put32(strh, 0);
  Put32(strh, scale);
  Put32(strh, rate);
  Put32(strh, 0);
  Put32(strh, frames);
  Put32(strh, frameBytes);
  Put32(strh, 0xFFFFFFFF);
  Put32(strh, 0);
  Put16(strh, 0);
  Put16(strh, 0);
  Put16(strh, static_cast<std::uint16_t>(width));
  Put16(strh, static_cast<std::uint16_t>(height));

  std::string strf;
  Put32(strf, 40);
  Put32(strf, width);
  Put32(strf, height);
  Put16(strf, 1);
  Put16(strf, 24);
  Put32(strf, 0);
  Put32(strf, frameBytes);
  for (int i = 0; i < 4; ++i) Put32(strf, 0);

  std::string movi, index;
  for (std::uint32_t i = 0; i < frames; ++i) {
    Put32(index, 0x62643030);  // "00db"
    Put32(index, 0x10);        // key frame
    Put32(index, static_cast<std::uint32_t>(movi.size() + 4));
    Put32(index, frameBytes);
    movi += Chunk("00db", std::string(frameBytes, static_cast<char>(i)));
  }
  std::string hdrl = Chunk("avih", avih) + List("strl", Chunk("strh", strh) + Chunk("strf", strf));
  std::string body = "AVI " + List("hdrl", hdrl) + List("movi", movi) + Chunk("idx1", index);
  return Chunk("RIFF", body);
}

std::string WriteClip(const std::wstring& name, const std::string& bytes) {
  std::wstring path = TestProgramFolder() + name;
  FILE* out = _wfopen(path.c_str(), L"wb");
  fwrite(bytes.data(), 1, bytes.size(), out);
  fclose(out);
  return Narrow(path);
}

}  // namespace

TEST(AviMediaProbe, ReportsFrameCountAndDurationOfAnAviFile) {
  struct Case {
    std::uint32_t frames, rate, scale;
    std::int64_t durationMs;
  };
  const Case cases[] = {
      {50, 25, 1, 2000},
      {75, 30000, 1001, 2502},  // 29.97 frames per second
      {1, 25, 1, 40},
  };
  AviMediaProbe probe;
  for (const Case& c : cases) {
    std::string path = WriteClip(L"probe-clip.avi", MakeAvi(c.frames, c.rate, c.scale));
    std::optional<ClipInfo> clip = probe.probe(path);
    ASSERT_TRUE(clip.has_value()) << c.frames << " frames";
    EXPECT_EQ(clip->frames, c.frames);
    EXPECT_EQ(clip->durationMs, c.durationMs);
    DeleteFileW(Widen(path).c_str());
  }
}

TEST(AviMediaProbe, CannotOpenAMissingOrBrokenFile) {
  AviMediaProbe probe;
  EXPECT_FALSE(probe.probe(Narrow(TestProgramFolder() + L"no-such-clip.avi")).has_value());
  std::string broken = WriteClip(L"broken-clip.avi", "RIFF\x04\0\0\0AVI not really");
  EXPECT_FALSE(probe.probe(broken).has_value());
  DeleteFileW(Widen(broken).c_str());
}
