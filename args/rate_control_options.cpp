#include "args/rate_control_options.h"

#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <optional>
#include <string>

#include "core/text_number.h"

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
std::optional<std::int64_t> DerivedBitrate(const Settings& s, const ClipInfo& clip) {
  const std::int64_t frames = clip.frames;
  const std::int64_t durationMs = clip.durationMs;
  if (frames <= 0 || durationMs <= 0) return std::nullopt;

  std::optional<std::int64_t> framesTimesThousand = Multiply(frames, 1000);
  if (!framesTimesThousand) return std::nullopt;
  const std::int64_t rate = *framesTimesThousand / durationMs;  // 23.976 fps counts as 23
  if (rate == 0) return std::nullopt;
  const std::int64_t seconds = DivideRoundingHalfToEven(frames, rate);
  if (seconds == 0) return std::nullopt;

  std::optional<std::int64_t> sizeBits = SizeInBits(TextToFloat(s.value));
  if (!sizeBits) return std::nullopt;

  std::int64_t audioBits = 0;
  if (s.aud) {
    std::optional<std::int64_t> perSecond = Multiply(TextToInt(s.aub), 1024);
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
std::string TrimBlanks(const std::string& text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

// `base` plus a percentage typed as a whole number, as the decimal x264
// reads: worked out in double precision and rounded to a 32-bit float once,
// so that 1 + 756 / 100 is written 8.560000, not 8.559999.
std::string PercentText(const std::string& text, double base = 0.0) {
  return DecimalText(static_cast<float>(base + static_cast<double>(TextToInt(text)) / 100.0));
}

// The quantization matrices that x264 knows by name; any other text of the
// list is a matrix file.
constexpr std::string_view kNamedMatrices[] = {kFlatMatrix, kJvtMatrix};

}  // namespace

ArgList BitrateOption(const Settings& s, const std::optional<ClipInfo>& clip) {
  if (!s.sizemode) return {arg::Literal("-B"), arg::Integer(s.value, cid::value)};
  if (!clip) return {};
  std::optional<std::int64_t> bitrate = DerivedBitrate(s, *clip);
  if (!bitrate) return {};
  return {arg::Literal("-B"), arg::Integer(IntegerText(*bitrate), cid::value)};
}

ArgList QuantizerLimitOptions(const Settings& s) {
  return {arg::Literal("--qpmin"),  arg::Integer(s.minqp, cid::minqp),
          arg::Literal("--qpmax"),  arg::Integer(s.maxqp, cid::maxqp),
          arg::Literal("--qpstep"), arg::Integer(s.qps, cid::qps),
          arg::Literal("--qcomp"),  arg::Decimal(PercentText(s.vbr), cid::vbr)};
}

ArgList FrameQpRatioOptions(const Settings& s) {
  return {arg::Literal("--ipratio"), arg::Decimal(PercentText(s.kfb, 1.0), cid::kfb),
          arg::Literal("--pbratio"), arg::Decimal(PercentText(s.bfr, 1.0), cid::bfr)};
}

ArgList ChromaQpOffsetOption(const Settings& s) {
  return {arg::Literal("--chroma-qp-offset"), arg::Integer(s.chromaqpoffset, cid::chromaqpoffset)};
}

ArgList VbvOptions(const Settings& s, bool omitRatetol) {
  ArgList args;
  if (!omitRatetol) {
    args.push_back(arg::Literal("--ratetol"));
    args.push_back(arg::Decimal(PercentText(s.bv), cid::bv));
  }
  args.push_back(arg::Literal("--vbv-init"));
  args.push_back(arg::Decimal(s.vib, cid::vib));
  if (TextToFloat(s.vbs) != 0.0f) {
    args.push_back(arg::Literal("--vbv-bufsize"));
    args.push_back(arg::Integer(s.vbs, cid::vbs));
  }
  if (TextToFloat(s.vmb) != 0.0f) {
    args.push_back(arg::Literal("--vbv-maxrate"));
    args.push_back(arg::Integer(s.vmb, cid::vmb));
  }
  return args;
}

ArgList KeyframeOptions(const Settings& s) {
  return {arg::Literal("--scenecut"), arg::Integer(s.sct, cid::sct),
          arg::Literal("-I"),         arg::Integer(s.maxgop, cid::maxgop),
          arg::Literal("-i"),         arg::Integer(s.mingop, cid::mingop)};
}

ArgList AqOptions(const Settings& s) {
  ArgList args = {arg::Literal("--aq-mode"), arg::Integer(IntegerText(s.aq), cid::aq)};
  if (s.aq != 0) {
    args.push_back(arg::Literal("--aq-strength"));
    args.push_back(arg::Decimal(s.aq1, cid::aq1));
  }
  return args;
}

ArgList DeadzoneOptions(const Settings& s) {
  return {arg::Literal("--deadzone-inter"), arg::Integer(s.dzinter, cid::dzinter),
          arg::Literal("--deadzone-intra"), arg::Integer(s.dzintra, cid::dzintra)};
}

ArgList LevelOption(const Settings& s) {
  // The entries after "Disable" name the level: "Level 4.1" is x264's 4.1.
  constexpr std::string_view kPrefix = "Level ";
  const std::string_view entry = s.level > 0 ? EntryOf(cid::level, s.level) : std::string_view();
  if (!entry.starts_with(kPrefix)) return {};
  return {arg::Literal("--level"),
          arg::Word(std::string(entry.substr(kPrefix.size())), cid::level)};
}

ArgList PsyRdOption(const Settings& s) {
  return {arg::Literal("--psy-rd"), arg::Decimal(s.psyrd_rdo, cid::psyrd_rdo),
          arg::Decimal(s.psyrd_tre, cid::psyrd_tre, ":")};
}

ArgList NoiseReductionOption(const Settings& s) {
  return {arg::Literal("--nr"), arg::Integer(s.nr, cid::nr)};
}

ArgList QuantMatrixOptions(const Settings& s) {
  for (std::string_view name : kNamedMatrices)
    if (s.cqm == name) return {arg::Literal("--cqm"), arg::Word(s.cqm, cid::cqm)};
  return {arg::Literal("--cqmfile"), arg::MatrixFile(s.cqm, cid::cqm)};
}

ArgList SarOption(const Settings& s) {
  return {arg::Literal("--sar"), arg::Integer(TrimBlanks(s.arx), cid::arx),
          arg::Integer(TrimBlanks(s.ary), cid::ary, ":")};
}

ArgList ThreadOptions(const Settings& s) {
  if (TextToInt(s.thr) == 0) return {arg::Literal("--threads"), arg::Literal("auto")};
  return {arg::Literal("--threads"), arg::Integer(s.thr, cid::thr)};
}

ArgList MetricOptions(const Settings& s, const EncoderDialect& dialect) {
  ArgList args;
  if (dialect.current) {
    if (s.psnr) args.push_back(arg::Literal("--psnr"));
    if (s.ssim) args.push_back(arg::Literal("--ssim"));
  } else {
    if (!s.psnr) args.push_back(arg::Literal("--no-psnr"));
    if (!s.ssim) args.push_back(arg::Literal("--no-ssim"));
  }
  return args;
}

ArgList DeblockOptions(const Settings& s) {
  if (!s.fil) return {arg::Literal("--no-deblock")};
  return {arg::Literal("-f"), arg::Integer(TrimBlanks(s.fa), cid::fa),
          arg::Integer(TrimBlanks(s.fb), cid::fb, ":")};
}
