#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

struct ClipInfo {
  std::int64_t frames = 0;
  std::int64_t durationMs = 0;
};

// Opens a media clip and reports its frame count and duration; nothing when
// the clip cannot be opened.
class MediaProbe {
 public:
  virtual ~MediaProbe() = default;
  virtual std::optional<ClipInfo> probe(std::string_view path) = 0;
};
