#include "platform/win32/avi_media_probe.h"

#include <windows.h>

#include <vfw.h>

#include <cstdint>
#include <memory>

#include "platform/win32/wide_text.h"

namespace {

struct FileRelease {
  void operator()(IAVIFile* file) const { AVIFileRelease(file); }
};
struct StreamRelease {
  void operator()(IAVIStream* stream) const { AVIStreamRelease(stream); }
};

}  // namespace

AviMediaProbe::~AviMediaProbe() {
  if (started_) AVIFileExit();
}

std::optional<ClipInfo> AviMediaProbe::probe(std::string_view path) {
  if (!started_) {
    AVIFileInit();
    started_ = true;
  }
  std::wstring wide = Widen(path);
  IAVIFile* rawFile = nullptr;
  if (AVIFileOpenW(&rawFile, wide.c_str(), OF_READ | OF_SHARE_DENY_NONE, nullptr) != 0 || !rawFile)
    return std::nullopt;
  std::unique_ptr<IAVIFile, FileRelease> file(rawFile);

  IAVIStream* rawStream = nullptr;
  if (AVIFileGetStream(file.get(), &rawStream, streamtypeVIDEO, 0) != 0 || !rawStream)
    return std::nullopt;
  std::unique_ptr<IAVIStream, StreamRelease> stream(rawStream);

  AVISTREAMINFOW info{};
  if (AVIStreamInfoW(stream.get(), &info, sizeof info) != 0) return std::nullopt;
  ClipInfo clip;
  clip.frames = AVIStreamLength(stream.get());
  if (clip.frames < 0) return std::nullopt;
  // Duration of all frames in milliseconds: frames x scale / rate seconds.
  if (info.dwRate != 0) {
    const std::uint64_t frames = static_cast<std::uint64_t>(clip.frames);
    const std::uint64_t scale = info.dwScale;
    // A clip too long for milliseconds in 64 bits is no clip to encode.
    if (scale != 0 && frames > UINT64_MAX / 1000 / scale) return std::nullopt;
    clip.durationMs = static_cast<std::int64_t>(frames * scale * 1000 / info.dwRate);
  }
  return clip;
}
