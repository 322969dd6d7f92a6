#pragma once

#include "platform/media_probe.h"

// Reads the frame count and duration of a clip through the Video for
// Windows AVIFile API: .avi files, and .avs scripts where AviSynth is
// installed.
class AviMediaProbe final : public MediaProbe {
 public:
  AviMediaProbe();
  ~AviMediaProbe() override;
  AviMediaProbe(const AviMediaProbe&) = delete;
  AviMediaProbe& operator=(const AviMediaProbe&) = delete;

  std::optional<ClipInfo> probe(std::string_view path) override;
};
