#pragma once

#include "platform/media_probe.h"

// Reads the frame count and duration of a clip through the Video for
// Windows AVIFile API: .avi files, and .avs scripts where AviSynth is
// installed. The AVIFile library is started at the first probe, which
// few runs of the program make, not with the window.
class AviMediaProbe final : public MediaProbe {
 public:
  AviMediaProbe() = default;
  ~AviMediaProbe() override;
  AviMediaProbe(const AviMediaProbe&) = delete;
  AviMediaProbe& operator=(const AviMediaProbe&) = delete;

  std::optional<ClipInfo> probe(std::string_view path) override;

 private:
  bool started_ = false;
};
