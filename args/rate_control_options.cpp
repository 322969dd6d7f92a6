#include "args/rate_control_options.h"

#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <optional>
#include <string>

#include "core/text_number.h"
#include "ui/control_id.h"

namespace {

constexpr std::int64_t kMaxInt = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMinInt = std::numeric_limits<std::int64_t>::min();

// a * b, or nothing when the product does not fit in 64 bits.
std::optional<std::int64_t> Multiply(std::int64_t a, std::int64_t b) {
  bool overflows = false;
  if (a > 0)
    overflows = b > 0 ? a > kMaxInt / b : b < kMinInt / a;
  else if (a < 0)
    overflows = b > 0 ? a < kMinInt / b : b < kMaxInt / a;
  if (overflows) return std::nullopt;
  return a * b;
}

// a - b, or nothing when the difference does not fit in 64 bits.
std::optional<std::int64_t> Subtract(std::int64_t a, std::int64_t b) {
  if (b < 0 ? a > kMaxInt + b : a < kMinInt + b) return std::nullopt;
  return a - b;
}

// n / d for n >= 0 and d > 0, to the nearest whole number, halves to the
// even neighbour.
std::int64_t DivideRoundingHalfToEven(std::int64_t n, std::int64_t d) {
  std::int64_t quotient = n / d;
  std::int64_t rest = n % d;
  std::int64_t above = d - rest;  // compared with rest, so that 2 * rest cannot overflow
  if (rest > above || (rest == above && quotient % 2 != 0)) ++quotient;
  return quotient;
}

// The target size typed in MB as a whole number of bits; nothing when the
// number is beyond 64 bits.
std::optional<std::int64_t> SizeInBits(float megabytes) {
  double bits = static_cast<double>(megabytes) * 1024.0 * 1024.0 * 8.0;
  constexpr double kLimit = 9223372036854775808.0;  // 2^63
  if (!(bits >= -kLimit && bits < kLimit)) return std::nullopt;
  return static_cast<std::int64_t>(std::llround(bits));
}

// The average bitrate in kbit/s that makes the video of `clip` fill the
// target size, less the audio; nothing when the clip gives no usable frame
// rate or duration, or a figure goes beyond 64 bits.
std::optional<std::int64_t> DerivedBitrate(const Window& window, const ClipInfo& clip) {
  const std::int64_t frames = clip.frames;
  const std::int64_t durationMs = clip.durationMs;
  if (frames <= 0 || durationMs <= 0) return std::nullopt;

  std::optional<std::int64_t> framesTimesThousand = Multiply(frames, 1000);
  if (!framesTimesThousand) return std::nullopt;
  const std::int64_t rate = *framesTimesThousand / durationMs;  // 23.976 fps counts as 23
  if (rate == 0) return std::nullopt;
  const std::int64_t seconds = DivideRoundingHalfToEven(frames, rate);
  if (seconds == 0) return std::nullopt;

  std::optional<std::int64_t> sizeBits = SizeInBits(TextToFloat(window.text(cid::value)));
  if (!sizeBits) return std::nullopt;

  std::int64_t audioBits = 0;
  if (window.state(cid::aud) != 0) {
    std::optional<std::int64_t> perSecond = Multiply(TextToInt(window.text(cid::aub)), 1024);
    if (!perSecond) return std::nullopt;
    std::optional<std::int64_t> total = Multiply(*perSecond, seconds);
    if (!total) return std::nullopt;
    audioBits = *total;
  }

  std::optional<std::int64_t> videoBits = Subtract(*sizeBits, audioBits);
  if (!videoBits) return std::nullopt;
  return *videoBits / seconds / 1002;
}

// The text with blanks removed at both ends; tabs and other white space stay.
std::string TrimBlanks(std::string text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

// A percentage typed as a whole number, as a fraction.
float Percent(const Window& window, ControlId id) {
  return static_cast<float>(TextToInt(window.text(id))) / 100.0f;
}

// The fragment of each entry of the level list, by index.
constexpr std::string_view kLevelFragments[] = {
    "",
    " --level 1",
    " --level 1.1",
    " --level 1.2",
    " --level 1.3",
    " --level 2",
    " --level 2.1",
    " --level 2.2",
    " --level 3",
    " --level 3.1",
    " --level 3.2",
    " --level 4",
    " --level 4.1",
    " --level 4.2",
    " --level 5",
    " --level 5.1",
};

// The quantization matrices that x264 knows by name; any other text of the
// list is a matrix file.
constexpr std::string_view kNamedMatrices[] = {"flat", "jvt"};

}  // namespace

OptionFragment BitrateOption(const Window& window, MediaProbe& media, std::string_view inputPath,
                             bool sizeMode) {
  if (!sizeMode) return " -B " + window.text(cid::value);
  std::optional<ClipInfo> clip = media.probe(inputPath);
  if (!clip) return {};
  std::optional<std::int64_t> bitrate = DerivedBitrate(window, *clip);
  if (!bitrate) return {};
  return " -B " + IntegerText(*bitrate);
}

OptionFragment QuantizerLimitOptions(const Window& window) {
  return " --qpmin " + window.text(cid::minqp) + " --qpmax " + window.text(cid::maxqp) +
         " --qpstep " + window.text(cid::qps) + " --qcomp " +
         DecimalText(Percent(window, cid::vbr));
}

OptionFragment FrameQpRatioOptions(const Window& window) {
  return " --ipratio " + DecimalText(1.0f + Percent(window, cid::kfb)) + " --pbratio " +
         DecimalText(1.0f + Percent(window, cid::bfr));
}

OptionFragment ChromaQpOffsetOption(const Window& window) {
  return " --chroma-qp-offset " + window.text(cid::chromaqpoffset);
}

OptionFragment VbvOptions(const Window& window, bool omitRatetol) {
  OptionFragment fragment;
  if (!omitRatetol) fragment += " --ratetol " + DecimalText(Percent(window, cid::bv));
  fragment += " --vbv-init " + window.text(cid::vib);
  std::string bufferSize = window.text(cid::vbs);
  if (TextToFloat(bufferSize) != 0.0f) fragment += " --vbv-bufsize " + bufferSize;
  std::string maxRate = window.text(cid::vmb);
  if (TextToFloat(maxRate) != 0.0f) fragment += " --vbv-maxrate " + maxRate;
  return fragment;
}

OptionFragment KeyframeOptions(const Window& window) {
  return " --scenecut " + window.text(cid::sct) + " -I " + window.text(cid::maxgop) + " -i " +
         window.text(cid::mingop);
}

OptionFragment AqOptions(const Window& window) {
  const int mode = window.state(cid::aq);
  OptionFragment fragment = " --aq-mode " + IntegerText(mode);
  if (mode != 0) fragment += " --aq-strength " + window.text(cid::aq1);
  return fragment;
}

OptionFragment DeadzoneOptions(const Window& window) {
  return " --deadzone-inter " + window.text(cid::dzinter) + " --deadzone-intra " +
         window.text(cid::dzintra);
}

OptionFragment LevelOption(const Window& window) {
  const int index = window.state(cid::level);
  if (index < 0 || index >= static_cast<int>(std::size(kLevelFragments))) return {};
  return OptionFragment(kLevelFragments[index]);
}

OptionFragment PsyRdOption(const Window& window) {
  return " --psy-rd " + window.text(cid::psyrd_rdo) + ":" + window.text(cid::psyrd_tre);
}

OptionFragment NoiseReductionOption(const Window& window) {
  return " --nr " + window.text(cid::nr);
}

OptionFragment QuantMatrixOptions(const Window& window) {
  std::string matrix = window.text(cid::cqm);
  for (std::string_view name : kNamedMatrices)
    if (matrix == name) return " --cqm " + matrix;
  return " --cqmfile " + matrix;
}

OptionFragment SarOption(const Window& window) {
  return " --sar " + TrimBlanks(window.text(cid::arx)) + ":" + TrimBlanks(window.text(cid::ary));
}

OptionFragment ThreadOptions(const Window& window) {
  std::string threads = window.text(cid::thr);
  if (TextToInt(threads) == 0) return " --threads auto";
  return " --threads " + threads;
}

OptionFragment MetricOptions(const Window& window) {
  OptionFragment fragment;
  if (window.state(cid::psnr) == 0) fragment += " --no-psnr";
  if (window.state(cid::ssim) == 0) fragment += " --no-ssim";
  return fragment;
}

OptionFragment DeblockOptions(const Window& window) {
  if (window.state(cid::fil) == 0) return " --no-deblock";
  return " -f " + TrimBlanks(window.text(cid::fa)) + ":" + TrimBlanks(window.text(cid::fb));
}
