// The main window's controls as data: one row per control, page by page in
// creation order. Both the Win32 window and the in-memory window are built
// from this table.

#include "ui/control_table.h"

#include <array>

namespace {

using enum ControlKind;
using enum Page;

// Rows: id, kind, page, x, y, w, h, caption, setting, tool tip and, where a
// control needs them, the options maxLength, trackMax, systemFont,
// startsDisabled and startsTicked in that order. A setting's field starts
// empty: what it shows comes with the settings loaded at start-up.
// clang-format off
constexpr ControlSpec kControls[] = {
    // Below the tab panel, in the window's client area, left to right: Tab
    // reaches them in this order after the controls of the shown page.
    {cid::loadDefault, Button, Outside, 5, 410, 85, 25, "Load Default", "", ""},
    {cid::level, List, Outside, 95, 412, 130, 300, "", "level", "THIS OPTION JUST ADDS A PARAMETER, IT DOESN'T LIMIT YOUR CONFIGURE!"},
    {cid::add, Button, Outside, 230, 410, 65, 25, "Add", "", "Add a task to job list according to current settings."},

    // "Bitrate".
    {cid::banner, Picture, Bitrate, 58, 24, 200, 59, "", "", ""},
    {cid::ssim, Check, Bitrate, 5, 90, 50, 21, "SSIM", "ssim", ""},
    {cid::psnr, Check, Bitrate, 5, 110, 50, 21, "PSNR", "psnr", ""},
    {cid::minsize, Field, Bitrate, 133, 24, 60, 20, "", "minsize", "Minimum allowed video size, AUDIO NOT INCLUDED!"},
    {cid::maxsize, Field, Bitrate, 133, 54, 60, 20, "", "maxsize", "Maximum allowed video size, AUDIO NOT INCLUDED!"},
    {cid::minsizeLabel, Label, Bitrate, 63, 24, 70, 20, "Min size(MB):", "", ""},
    {cid::maxsizeLabel, Label, Bitrate, 63, 54, 70, 20, "Max size(MB):", "", ""},
    {cid::mode, List, Bitrate, 58, 104, 200, 140, "", "mode", ""},
    {cid::refresh, Button, Bitrate, 215, 210, 85, 21, "Refresh", "", ""},
    {cid::presetsLabel, Label, Bitrate, 10, 188, 60, 21, "Presets:", "", ""},
    {cid::valueLabel, Label, Bitrate, 58, 134, 80, 16, "", "", ""},
    {cid::sizemode, Check, Bitrate, 5, 130, 40, 21, "Size", "sizemode", "Input target file size instead of bitrate"},
    {cid::rangeLabel, Label, Bitrate, 58, 85, 205, 17, "", "", ""},
    {cid::value, Field, Bitrate, 148, 134, 50, 20, "", "value", ""},
    {cid::auto1pcrf, Field, Bitrate, 188, 159, 50, 20, "", "auto1pcrf", "The quantizer value for the first pass"},
    {cid::auto1pcrfLabel, Label, Bitrate, 58, 159, 130, 20, "CRF Value for first pass:", "", ""},
    {cid::presetname, EditList, Bitrate, 70, 185, 100, 20, "", "presetname", "List for files of settings", 0, 0, /*systemFont=*/true},
    {cid::avsincLabel, Label, Bitrate, 10, 212, 80, 21, "AVS Scripts:", "", ""},
    {cid::avsinc, List, Bitrate, 90, 210, 120, 20, "", "avsinc", "When given an non-AVS file, use the preset to import them.", 0, 0, /*systemFont=*/true},
    {cid::savePreset, Button, Bitrate, 175, 185, 60, 20, "Save", "", "Save current settings to an INI file"},
    {cid::loadPreset, Button, Bitrate, 240, 185, 60, 20, "Load", "", "Load settings from a file"},
    {cid::upstat, Check, Bitrate, 23, 295, 120, 15, "Update Statsfile", "upstat", "Tick this option if you want to perform 3 or more passes"},
    {cid::batchAdding, Button, Bitrate, 150, 290, 120, 25, "Batch Adding", "", "Import more than 1 file as input. Please set all the settings before pressing this"},
    {cid::statsfileLabel, Label, Bitrate, 18, 322, 90, 20, "Statsfile name", "", ""},
    {cid::crelog, Check, Bitrate, 18, 349, 120, 20, "Logfile(empty=none)", "crelog", "Save the output information to a log file. NOTICE: Then you can't get available file if you press Ctrl+C during process."},
    {cid::statsfile, Field, Bitrate, 108, 320, 145, 20, "", "statsfile", ""},
    {cid::logfile, Field, Bitrate, 138, 349, 115, 20, "", "logfile", ""},
    {cid::statsfileBrowse, Button, Bitrate, 258, 320, 25, 20, "...", "", ""},
    {cid::logfileBrowse, Button, Bitrate, 258, 349, 25, 20, "...", "", ""},
    {cid::inputLabel, Label, Bitrate, 8, 234, 70, 15, "Input file:", "", ""},
    {cid::outputLabel, Label, Bitrate, 8, 259, 80, 15, "Output file:", "", ""},
    {cid::input, Field, Bitrate, 83, 234, 175, 20, "", "input", ""},
    {cid::output, Field, Bitrate, 93, 259, 165, 20, "", "output", ""},
    {cid::inputBrowse, Button, Bitrate, 263, 234, 25, 20, "...", "", ""},
    {cid::outputBrowse, Button, Bitrate, 263, 259, 25, 20, "...", "", ""},

    // "Rate Control".
    {cid::limitsFrame, Frame, RateControl, 8, 10, 290, 119, "Bitrate && Quantization Limits", "", ""},
    {cid::vbvFrame, Frame, RateControl, 8, 133, 290, 119, "VBV Settings && Scene Cuts", "", ""},
    {cid::qpFrame, Frame, RateControl, 8, 254, 290, 95, "Adjust QP && deadzones", "", ""},
    {cid::kfbLabel, Label, RateControl, 20, 28, 110, 15, "KeyFrame boost(%)", "", ""},
    {cid::bfrLabel, Label, RateControl, 20, 52, 110, 15, "B-frames reduction(%)", "", ""},
    {cid::vbrLabel, Label, RateControl, 20, 76, 110, 15, "Quantizer Comp(%)", "", ""},
    {cid::chromaqpoffsetLabel, Label, RateControl, 20, 100, 150, 15, "Chroma QP Offset", "", ""},
    {cid::kfb, Digits, RateControl, 135, 26, 30, 20, "", "kfb", "QP factor between I and P [40]"},
    {cid::bfr, Digits, RateControl, 135, 50, 30, 20, "", "bfr", "QP factor between P and B [30]"},
    {cid::vbr, Digits, RateControl, 135, 73, 30, 20, "", "vbr", "QP curve compression: 0 => CBR, 100 => CQP [60]"},
    {cid::chromaqpoffset, Field, RateControl, 135, 97, 30, 20, "", "chromaqpoffset", "QP difference between chroma and luma [0]"},
    {cid::minqpLabel, Label, RateControl, 170, 28, 65, 15, "Min QP", "", ""},
    {cid::maxqpLabel, Label, RateControl, 170, 52, 65, 15, "Max QP", "", ""},
    {cid::qpsLabel, Label, RateControl, 170, 76, 65, 15, "Max QP Step", "", ""},
    {cid::minqp, Digits, RateControl, 236, 26, 35, 20, "", "minqp", ""},
    {cid::maxqp, Digits, RateControl, 236, 50, 35, 20, "", "maxqp", ""},
    {cid::qps, Digits, RateControl, 236, 73, 35, 20, "", "qps", ""},
    {cid::vbsLabel, Label, RateControl, 20, 148, 135, 20, "VBV Buffer Size", "", ""},
    {cid::vmbLabel, Label, RateControl, 20, 172, 135, 20, "VBV Maximum Bitrate", "", ""},
    {cid::vibLabel, Label, RateControl, 20, 196, 135, 20, "VBV Initial Buffer", "", ""},
    {cid::bvLabel, Label, RateControl, 20, 220, 135, 20, "Bitrate Variance(%)", "", ""},
    {cid::vbs, Field, RateControl, 125, 148, 30, 20, "", "vbs", "Enable CBR and set size of the VBV buffer (kbit) [0]"},
    {cid::vmb, Field, RateControl, 125, 172, 30, 20, "", "vmb", "Max local bitrate (kbit/s) [0]"},
    {cid::vib, Field, RateControl, 125, 196, 30, 20, "", "vib", "Initial VBV buffer occupancy [0.9]"},
    {cid::bv, Digits, RateControl, 125, 220, 30, 20, "", "bv", "Allowed variance of average bitrate [100]"},
    {cid::sctLabel, Label, RateControl, 165, 158, 85, 15, "SC Threshold", "", ""},
    {cid::mingopLabel, Label, RateControl, 165, 184, 85, 15, "Min I-f interval", "", ""},
    {cid::maxgopLabel, Label, RateControl, 165, 217, 85, 15, "Max I-f interval", "", ""},
    {cid::sct, Digits, RateControl, 245, 154, 35, 20, "", "sct", "How aggressively to insert extra I-frames [40]"},
    {cid::mingop, Digits, RateControl, 245, 184, 35, 20, "", "mingop", "Minimum GOP size [25]"},
    {cid::maxgop, Digits, RateControl, 245, 214, 35, 20, "", "maxgop", "Maximum GOP size [250]"},
    {cid::aqLabel, Label, RateControl, 15, 275, 50, 15, "AQ Mode", "", ""},
    {cid::aq, List, RateControl, 65, 273, 90, 80, "", "aq", "How AQ distributes bits [Multiple frames]"},
    {cid::aq1Label, Label, RateControl, 20, 309, 80, 15, "AQ Strength", "", ""},
    {cid::aq1, Field, RateControl, 100, 309, 35, 20, "", "aq1", "Reduces blocking and blurring in flat and textured areas. [1.0]"},
    {cid::deadzoneLabel, Label, RateControl, 170, 273, 120, 15, "Deadzone settings", "", ""},
    {cid::dzinterLabel, Label, RateControl, 170, 298, 120, 15, "Inter", "", ""},
    {cid::dzintraLabel, Label, RateControl, 170, 321, 120, 15, "Intra", "", ""},
    {cid::dzinter, Field, RateControl, 230, 298, 35, 20, "", "dzinter", "Set the size of the inter luma quantization deadzone [21]"},
    {cid::dzintra, Field, RateControl, 230, 321, 35, 20, "", "dzintra", "Set the size of the intra luma quantization deadzone [11]"},

    // "MBs&&Frames".
    {cid::partitionsFrame, Frame, MBsFrames, 8, 4, 285, 145, "Partitions", "", "Partitions to consider"},
    {cid::bFramesFrame, Frame, MBsFrames, 8, 154, 285, 140, "B Frames", "", ""},
    {cid::psyFrame, Frame, MBsFrames, 8, 300, 285, 70, "Psychovisual optimization", "", ""},
    {cid::a1, Check, MBsFrames, 28, 24, 255, 15, "8x8 Transform", "a1", ""},
    {cid::a2, Check, MBsFrames, 28, 44, 255, 15, "8x8,8x16 and 16x8 P-frame search", "a2", ""},
    {cid::a3, Check, MBsFrames, 28, 64, 255, 15, "8x8,8x16 and 16x8 B-Frame search", "a3", ""},
    {cid::a4, Check, MBsFrames, 28, 84, 255, 15, "4x4,4x8 and 8x4 P-frame search", "a4", ""},
    {cid::a5, Check, MBsFrames, 28, 104, 255, 15, "8x8 Intra search", "a5", ""},
    {cid::a6, Check, MBsFrames, 28, 124, 255, 15, "4x4 Intra search", "a6", ""},
    {cid::mbLabel, Label, MBsFrames, 18, 174, 110, 15, "Max consecutive", "", ""},
    {cid::biasLabel, Label, MBsFrames, 18, 194, 35, 15, "Bias", "", ""},
    {cid::biasbar, Track, MBsFrames, 73, 194, 120, 15, "", "biasbar", "Influences how often B-frames are used [0]", 0, /*trackMax=*/200},
    {cid::mb, Digits, MBsFrames, 208, 169, 55, 20, "", "mb", "Number of B-frames between I And P [0]"},
    {cid::bias, Field, MBsFrames, 208, 194, 55, 20, "", "bias", "", /*maxLength=*/3},
    {cid::bref, Check, MBsFrames, 18, 219, 80, 15, "Use as Ref.", "bref", "Keep some B-frames as references"},
    {cid::ba, Check, MBsFrames, 124, 219, 75, 15, "Adaptive", "ba", "Enable adaptive B-frame decision"},
    {cid::bfoptimal, Check, MBsFrames, 229, 219, 60, 15, "Optimal", "bfoptimal", "Optimal method for Adaptive B-frame decision"},
    {cid::bwb, Check, MBsFrames, 18, 239, 150, 15, "Weighted biprediction", "bwb", "Weighted prediction for B-frames"},
    {cid::dmLabel, Label, MBsFrames, 18, 264, 80, 15, "Direct Mode", "", ""},
    {cid::dm, List, MBsFrames, 80, 264, 70, 130, "", "dm", "Direct MV prediction mode [Spatial]"},
    {cid::directpmLabel, Label, MBsFrames, 170, 245, 110, 15, "Direct prediction size:", "", ""},
    {cid::directpm, List, MBsFrames, 170, 264, 110, 130, "", "directpm", "", 0, 0, false, /*startsDisabled=*/true},
    {cid::psyrd_rdoLabel, Label, MBsFrames, 18, 320, 140, 20, "RDO (requires subme>=6)", "", ""},
    {cid::psyrd_treLabel, Label, MBsFrames, 18, 345, 140, 20, "Trellis (requires trellis)", "", ""},
    {cid::psyrd_rdo, Field, MBsFrames, 180, 320, 40, 20, "", "psyrd_rdo", "RDO strength of psychovisual optimization [1.0]"},
    {cid::psyrd_tre, Field, MBsFrames, 180, 345, 40, 20, "", "psyrd_tre", "Trellis strength of psychovisual optimization (experimental) [0.0]"},

    // "More".
    {cid::motionFrame, Frame, More, 8, 9, 290, 130, "Motion Estimation", "", ""},
    {cid::m, List, More, 133, 24, 145, 110, "", "m", "Subpixel motion estimation and partition [5]"},
    {cid::ms, List, More, 118, 49, 160, 115, "", "ms", ""},
    {cid::mLabel, Label, More, 13, 24, 115, 20, "Partition decision", "", ""},
    {cid::msLabel, Label, More, 13, 49, 100, 20, "Method", "", ""},
    {cid::merangeLabel, Label, More, 13, 79, 50, 20, "Range", "", ""},
    {cid::refLabel, Label, More, 13, 109, 100, 20, "Max Ref. frames", "", ""},
    {cid::range, Digits, More, 73, 79, 35, 20, "", "range", "Maximum motion vector search range [16]"},
    {cid::ref, Digits, More, 118, 109, 45, 20, "", "ref", "Number of reference frames [1]"},
    {cid::chromame, Check, More, 210, 79, 70, 15, "Chroma ME", "chromame", "Consider chroma in motion estimation", 0, 0, false, false, /*startsTicked=*/true},
    {cid::mxref, Check, More, 210, 99, 70, 15, "Mixed Refs", "mxref", "Decide references on a per partition basis"},
    {cid::fastpsk, Check, More, 210, 119, 70, 15, "Fast P Skip", "fastpsk", "Enables early SKIP detection on P-frames"},
    {cid::dctd, Check, More, 118, 79, 90, 15, "DCT Decimate", "dctd", "Enables coefficient thresholding on P-frames"},
    {cid::miscFrame, Frame, More, 8, 144, 290, 150, "Misc. options", "", ""},
    {cid::arx, Digits, More, 68, 174, 25, 18, "", "arx", ""},
    {cid::ary, Digits, More, 102, 174, 25, 18, "", "ary", ""},
    {cid::sarColon, Label, More, 93, 174, 15, 15, " :", "", ""},
    {cid::thrLabel, Label, More, 13, 199, 55, 15, "Threads", "", ""},
    {cid::apin, Check, More, 150, 199, 110, 15, "Alone Thread Input", "apin", "Run Avisynth in its own thread"},
    {cid::sarLabel, Label, More, 13, 174, 55, 15, "Sample AR", "", ""},
    {cid::thr, Field, More, 68, 199, 15, 18, "", "thr", "Parallel encoding"},
    {cid::cab, Check, More, 150, 174, 65, 15, "CABAC", "cab", ""},
    {cid::treLabel, Label, More, 225, 174, 30, 15, "Trellis", "", ""},
    {cid::tre, List, More, 260, 172, 30, 100, "", "tre", "Trellis RD quantization. Requires CABAC. [0]"},
    {cid::nrLabel, Label, More, 13, 224, 85, 15, "Noise Reduction", "", ""},
    {cid::nr, Field, More, 98, 224, 35, 18, "", "nr", ""},
    {cid::fil, Check, More, 18, 260, 100, 15, "Deblocking filter:", "fil", "Loop filter AlphaC0 and Beta parameters"},
    {cid::cqmLabel, Label, More, 150, 224, 50, 15, "Quant:", "", ""},
    {cid::cqm, EditList, More, 200, 222, 70, 50, "", "cqm", "Quant matrices"},
    {cid::deb_aLabel, Label, More, 153, 254, 50, 15, "Strength", "", ""},
    {cid::deb_bLabel, Label, More, 153, 270, 55, 15, "Threshold", "", ""},
    {cid::deb_a, Track, More, 213, 254, 55, 15, "", "deb-a", "", 0, /*trackMax=*/12},
    {cid::deb_b, Track, More, 213, 269, 55, 15, "", "deb-b", "", 0, /*trackMax=*/12},
    {cid::fa, Label, More, 268, 254, 20, 15, "", "fa", ""},
    {cid::fb, Label, More, 268, 269, 20, 15, "", "fb", ""},
    {cid::none, Frame, More, 8, 300, 290, 75, "Audio", "", "", 0, 0, /*systemFont=*/true},
    {cid::aud, Check, More, 20, 320, 160, 15, "Enable Audio Encoding", "aud", "Encodes audio after encoding video"},
    {cid::aub, Field, More, 180, 320, 40, 20, "", "aub", ""},
    {cid::aubLabel, Label, More, 230, 322, 50, 15, "Kbps", "", ""},
    {cid::aeLabel, Label, More, 20, 347, 65, 15, "Encoder", "", ""},
    {cid::ae, List, More, 85, 345, 70, 140, "", "ae", "Encoder to encode audio"},
    {cid::muxerLabel, Label, More, 170, 347, 55, 15, "Muxer", "", ""},
    {cid::muxer, List, More, 225, 345, 65, 140, "", "muxer", "Muxer to mux audio"},

    // "Job".
    {cid::jobList, ListBox, Job, 3, 4, 260, 335, "", "JobList", ""},
    {cid::makeBat, Button, Job, 230, 344, 65, 20, "Make BAT", "", ""},
    {cid::clear, Button, Job, 155, 344, 65, 20, "Clear", "", ""},
    {cid::disable, Button, Job, 80, 344, 65, 20, "Disable", "", ""},
    {cid::start, Button, Job, 5, 344, 65, 20, "Start", "", ""},
    // 38 wide, not 40: a page is 302 pixels wide inside the tab control's
    // border, and the buttons beside the job list would lose their right edge.
    {cid::view, Button, Job, 264, 10, 38, 30, "view", "", ""},
    {cid::up, Button, Job, 264, 60, 38, 30, "up", "", ""},
    {cid::down, Button, Job, 264, 110, 38, 30, "down", "", ""},
    {cid::edit, Button, Job, 264, 160, 38, 30, "edit", "", ""},
    {cid::del, Button, Job, 264, 210, 38, 30, "del", "", ""},
    {cid::shut, Button, Job, 264, 260, 38, 30, "Shut", "", ""},
};
// clang-format on

constexpr std::string_view kPageCaptions[kPageCount] = {"Bitrate", "Rate Control", "MBs&&Frames",
                                                        "More", "Job"};

constexpr ControlId MaxId() {
  ControlId max = 0;
  for (const ControlSpec& row : kControls) max = row.id > max ? row.id : max;
  return max;
}

// Row number of every id, or -1; built at compile time, which also proves
// that no two rows share an id.
constexpr auto kRowOfId = [] {
  std::array<short, MaxId() + 1> rows{};
  rows.fill(-1);
  for (short row = 0; row < static_cast<short>(std::size(kControls)); ++row) {
    const ControlId id = kControls[row].id;
    if (id < 0) throw "a control id is negative";
    if (id == cid::none) continue;
    if (rows[id] != -1) throw "two controls share an id";
    rows[id] = row;
  }
  return rows;
}();

}  // namespace

std::span<const ControlSpec> ControlTable() { return kControls; }

const ControlSpec* FindControl(ControlId id) {
  if (id <= cid::none || static_cast<size_t>(id) >= kRowOfId.size()) return nullptr;
  const short row = kRowOfId[id];
  return row < 0 ? nullptr : &kControls[row];
}

std::span<const std::string_view> PageCaptions() { return kPageCaptions; }
