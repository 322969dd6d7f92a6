#pragma once

// The window the job tests build their settings in: the fixed lists filled,
// then one fixed set of settings, the one of the worked mode-5 line.

#include <initializer_list>
#include <string>
#include <string_view>

#include "app/startup.h"
#include "settings/catalogue.h"
#include "support/memory_platform.h"
#include "support/memory_window.h"
#include "ui/control_id.h"

namespace job_test {

// The files of the worked example line.
inline constexpr std::string_view kStatsPath = R"(D:\enc\clip.stats)";
inline constexpr std::string_view kOutputPath = R"(D:\enc\clip.mp4)";
inline constexpr std::string_view kInputPath = R"(D:\enc\clip.avs)";
inline constexpr std::string_view kLogPath = R"(D:\enc\clip.log)";

// Every setting the example names, set explicitly (whatever the start-up
// defaults are), plus the size limits and the first-pass rate factor.
inline void ApplyExampleSettings(Window& w) {
  auto tick = [&w](ControlId id, bool on) { w.setState(id, on ? 1 : 0); };
  tick(cid::psnr, true);
  tick(cid::ssim, true);
  w.setText(cid::cqm, "flat");
  tick(cid::fastpsk, true);
  tick(cid::dctd, true);
  tick(cid::apin, false);
  tick(cid::mxref, false);
  w.setText(cid::sct, "40");
  w.setText(cid::maxgop, "250");
  w.setText(cid::mingop, "25");
  w.setText(cid::arx, "1");
  w.setText(cid::ary, "1");
  w.setText(cid::thr, "0");
  w.setText(cid::nr, "0");
  tick(cid::fil, true);
  w.setText(cid::fa, "0");
  w.setText(cid::fb, "0");
  w.setText(cid::mb, "2");
  w.setText(cid::dm, "Spatial");
  tick(cid::ba, true);
  tick(cid::bfoptimal, false);
  tick(cid::bref, false);
  w.setText(cid::bias, "0");
  tick(cid::bwb, true);
  w.setText(cid::dzinter, "21");
  w.setText(cid::dzintra, "11");
  w.setText(cid::aq, "Variance AQ");
  w.setText(cid::aq1, "1.0");
  w.setText(cid::chromaqpoffset, "0");
  w.setText(cid::level, "Disable");
  w.setText(cid::psyrd_rdo, "1.0");
  w.setText(cid::psyrd_tre, "0.0");
  w.setText(cid::minqp, "10");
  w.setText(cid::maxqp, "51");
  w.setText(cid::qps, "4");
  w.setText(cid::vbr, "60");
  w.setText(cid::kfb, "40");
  w.setText(cid::bfr, "30");
  tick(cid::chromame, true);
  tick(cid::a1, true);
  tick(cid::a2, true);
  tick(cid::a3, true);
  tick(cid::a4, false);
  tick(cid::a5, true);
  tick(cid::a6, true);
  w.setState(cid::m, 4);
  w.setState(cid::ms, 1);
  w.setText(cid::range, "16");
  w.setText(cid::ref, "1");
  w.setText(cid::bv, "100");
  w.setText(cid::vib, "0.9");
  w.setText(cid::vbs, "0");
  w.setText(cid::vmb, "0");
  tick(cid::cab, true);
  w.setState(cid::tre, 0);
  tick(cid::upstat, false);
  tick(cid::sizemode, false);
  w.setText(cid::value, "1000");
  tick(cid::crelog, true);
  w.setText(cid::statsfile, kStatsPath);
  w.setText(cid::output, kOutputPath);
  w.setText(cid::input, kInputPath);
  w.setText(cid::logfile, kLogPath);

  w.setText(cid::auto1pcrf, "16");
  w.setText(cid::minsize, "90");
  w.setText(cid::maxsize, "110");
}

// Audio on: "Nero" at 64 kbit/s, muxed by "MP4Box".
inline void ApplyExampleAudio(Window& w) {
  w.setState(cid::aud, 1);
  w.setText(cid::ae, "Nero");
  w.setText(cid::aub, "64");
  w.setText(cid::muxer, "MP4Box");
}

inline std::string Join(std::initializer_list<std::string_view> pieces) {
  std::string text;
  for (std::string_view piece : pieces) text += piece;
  return text;
}

// Pieces of the pass lines under the example settings, each written from
// the tables of the pass commands. Under these settings the chroma motion
// estimation, the entropy and the CABAC-only groups are empty.
namespace piece {
inline constexpr std::string_view kCall = "@x264.exe --progress";
inline constexpr std::string_view kCommon =
    R"( --cqm flat --scenecut 40 -I 250 -i 25 --sar 1:1 --threads auto --nr 0 -f 0:0)"
    R"( -b 2 --direct "spatial" --b-adapt 1 --b-bias 0 -w --deadzone-inter 21 --deadzone-intra 11)"
    R"( --aq-mode 1 --aq-strength 1.0 --chroma-qp-offset 0 --psy-rd 1.0:0.0)";
inline constexpr std::string_view kFirstPass = " -p 1";
inline constexpr std::string_view kLaterPass = " -p 2";
inline constexpr std::string_view kStats = R"( --stats "D:\enc\clip.stats")";
inline constexpr std::string_view kBitrate = " -B 1000";
inline constexpr std::string_view kQuantizer = " -q 1000";
inline constexpr std::string_view kRateFactor = " --crf 1000";
inline constexpr std::string_view kFirstPassRateFactor = " --crf 16";
inline constexpr std::string_view kQpLimits = " --qpmin 10 --qpmax 51 --qpstep 4 --qcomp 0.600000";
inline constexpr std::string_view kRatios = " --ipratio 1.400000 --pbratio 1.300000";
inline constexpr std::string_view kPartitions = " --8x8dct -A p8x8,b8x8,i8x8,i4x4";
inline constexpr std::string_view kFirstPassPartitions = " -A p8x8,i4x4";
inline constexpr std::string_view kNoPartitions = " -A none";
inline constexpr std::string_view kSubme = " -m 5";
inline constexpr std::string_view kSubmeCap6 = " -m 5";
inline constexpr std::string_view kSubmeCap3 = " -m 3";
inline constexpr std::string_view kSearch = " --me hex --merange 16";
inline constexpr std::string_view kFastSearch = " --me hex --merange 16";
inline constexpr std::string_view kVbv = " --ratetol 1.000000 --vbv-init 0.9";
inline constexpr std::string_view kVbvNoRatetol = " --vbv-init 0.9";
inline constexpr std::string_view kReferences = " -r 1";
inline constexpr std::string_view kOneReference = " -r 1";
inline constexpr std::string_view kOutput = R"( -o "D:\enc\clip.mp4" )";
inline constexpr std::string_view kNul = " -o nul ";
inline constexpr std::string_view kInput = R"("D:\enc\clip.avs")";
inline constexpr std::string_view kLogPipe = R"( 2>&1|teelog.exe "D:\enc\clip.log")";
inline constexpr std::string_view kCondition = "@if errorlevel 1 ";
}  // namespace piece

// The pass lines of the single-run modes under the example settings.
namespace line {
using namespace piece;
inline const std::string kMode0 =
    Join({kCall, kCommon, kRatios, kPartitions, kBitrate, kQpLimits, kSubme, kVbv, kReferences,
          kSearch, kOutput, kInput, kLogPipe});
inline const std::string kMode1 = Join({kCall, kCommon, kQuantizer, kQpLimits, kPartitions, kRatios,
                                        kSubme, kSearch, kReferences, kOutput, kInput, kLogPipe});
inline const std::string kMode2 =
    Join({kCall, kCommon, kRateFactor, kPartitions, kSubme, kSearch, kQpLimits, kRatios,
          kVbvNoRatetol, kReferences, kOutput, kInput, kLogPipe});
inline const std::string kMode3 =
    Join({kCall, kCommon, kFirstPass, kStats, kBitrate, kQpLimits, kRatios, kFirstPassPartitions,
          kSubmeCap6, kFastSearch, kVbv, kReferences, kNul, kInput, kLogPipe});
inline const std::string kMode4 =
    Join({kCall, kCommon, kFirstPass, kStats, kBitrate, kQpLimits, kRatios, kNoPartitions,
          kSubmeCap3, kFastSearch, kVbv, kOneReference, kNul, kInput, kLogPipe});
inline const std::string kMode5 =
    Join({kCall, kCommon, kLaterPass, kStats, kBitrate, kQpLimits, kRatios, kPartitions, kSubme,
          kSearch, kReferences, kVbv, kOutput, kInput, kLogPipe});
// The CRF first passes with the user's `value`, and with `auto1pcrf` as the
// automated modes build them.
inline const std::string kMode8 =
    Join({kCall, kCommon, kStats, kFirstPass, kRateFactor, kPartitions, kRatios, kSubmeCap6,
          kFastSearch, kReferences, kQpLimits, kVbv, kNul, kInput, kLogPipe});
inline const std::string kMode8AtFirstPassCrf =
    Join({kCall, kCommon, kStats, kFirstPass, kFirstPassRateFactor, kPartitions, kRatios,
          kSubmeCap6, kFastSearch, kReferences, kQpLimits, kVbv, kNul, kInput, kLogPipe});
inline const std::string kMode9 =
    Join({kCall, kCommon, kStats, kFirstPass, kRateFactor, kNoPartitions, kRatios, kSubmeCap3,
          kFastSearch, kOneReference, kQpLimits, kVbv, kNul, kInput, kLogPipe});
inline const std::string kMode9AtFirstPassCrf =
    Join({kCall, kCommon, kStats, kFirstPass, kFirstPassRateFactor, kNoPartitions, kRatios,
          kSubmeCap3, kFastSearch, kOneReference, kQpLimits, kVbv, kNul, kInput, kLogPipe});
inline const std::string kMode12 =
    Join({kCall, kCommon, kStats, kFirstPass, kRateFactor, kPartitions, kRatios, kSubme, kSearch,
          kReferences, kQpLimits, kVbv, kOutput, kInput, kLogPipe});
inline const std::string kMode12AtFirstPassCrf =
    Join({kCall, kCommon, kStats, kFirstPass, kFirstPassRateFactor, kPartitions, kRatios, kSubme,
          kSearch, kReferences, kQpLimits, kVbv, kOutput, kInput, kLogPipe});
inline const std::string kMode13 = Join({kCondition, kMode5});
}  // namespace line

// A window with the fixed lists and the example settings, audio off.
struct ExampleWindow {
  ExampleWindow() {
    FillFixedLists(window);
    ApplyExampleSettings(window);
    window.setState(cid::aud, 0);
  }
  // The settings the window holds, in encode mode `mode`.
  Settings settings(int mode) const {
    Settings s = ReadSettings(window);
    s.mode = static_cast<EncodeMode>(mode);
    return s;
  }

  MemoryWindow window;
  FakeMedia media;
};

}  // namespace job_test
