// The main window's controls as data: one row per control, page by page in
// creation order. Both the Win32 window and the in-memory window are built
// from this table.

#include "ui/control_table.h"

#include <array>

namespace {

using enum ControlKind;
using enum Page;

// Rows: id, kind, page, x, y, w, h, caption or initial text, setting, tool tip
// and, where a control needs them, the options maxLength, trackMax,
// systemFont and startsDisabled in that order.
// clang-format off
constexpr ControlSpec kControls[] = {
    // Below the tab panel, in the window's client area.
    {3, Button, Outside, 5, 410, 85, 25, "Load Default", "", ""},
    {4, Button, Outside, 230, 410, 65, 25, "Add", "", "Add a task to job list according to current settings."},
    {158, List, Outside, 95, 412, 130, 300, "", "level", "THIS OPTION JUST ADDS A PARAMETER, IT DOESN'T LIMIT YOUR CONFIGURE!"},

    // "Bitrate".
    {21, Picture, Bitrate, 58, 24, 200, 59, "", "", ""},
    {156, Check, Bitrate, 5, 90, 50, 21, "SSIM", "ssim", ""},
    {157, Check, Bitrate, 5, 110, 50, 21, "PSNR", "psnr", ""},
    {140, Field, Bitrate, 133, 24, 60, 20, "90", "minsize", "Minimum allowed video size, AUDIO NOT INCLUDED!"},
    {138, Field, Bitrate, 133, 54, 60, 20, "110", "maxsize", "Maximum allowed video size, AUDIO NOT INCLUDED!"},
    {141, Label, Bitrate, 63, 24, 70, 20, "Min size(MB):", "", ""},
    {139, Label, Bitrate, 63, 54, 70, 20, "Max size(MB):", "", ""},
    {22, List, Bitrate, 58, 104, 200, 140, "", "mode", ""},
    {115, Button, Bitrate, 215, 210, 85, 21, "Refresh", "", ""},
    {161, Label, Bitrate, 10, 188, 60, 21, "Presets:", "", ""},
    {23, Label, Bitrate, 58, 134, 80, 16, "Quantizer", "", ""},
    {124, Check, Bitrate, 5, 130, 40, 21, "Size", "sizemode", "Input target file size instead of bitrate"},
    {87, Label, Bitrate, 58, 85, 205, 17, "Range 0~51", "", ""},
    {24, Field, Bitrate, 148, 134, 50, 20, "26", "value", ""},
    {120, Field, Bitrate, 188, 159, 50, 20, "16", "auto1pcrf", "The quantizer value for the first pass"},
    {121, Label, Bitrate, 58, 159, 130, 20, "CRF Value for first pass:", "", ""},
    {114, EditList, Bitrate, 70, 185, 100, 20, "", "presetname", "List for files of settings", 0, 0, /*systemFont=*/true},
    {160, Label, Bitrate, 10, 212, 80, 21, "AVS Scripts:", "", ""},
    {128, List, Bitrate, 90, 210, 120, 20, "", "avsinc", "When given an non-AVS file, use the preset to import them.", 0, 0, /*systemFont=*/true},
    {104, Button, Bitrate, 175, 185, 60, 20, "Save", "", "Save current settings to an INI file"},
    {105, Button, Bitrate, 240, 185, 60, 20, "Load", "", "Load settings from a file"},
    {27, Check, Bitrate, 23, 295, 120, 15, "Update Statsfile", "upstat", "Tick this option if you want to perform 3 or more passes"},
    {113, Button, Bitrate, 150, 290, 120, 25, "Batch Adding", "", "Import more than 1 file as input. Please set all the settings before pressing this"},
    {28, Label, Bitrate, 18, 322, 90, 20, "Statsfile name", "", ""},
    {127, Check, Bitrate, 18, 349, 120, 20, "Logfile(empty=none)", "crelog", "Save the output information to a log file. NOTICE: Then you can't get available file if you press Ctrl+C during process."},
    {29, Field, Bitrate, 108, 320, 145, 20, "", "statsfile", ""},
    {125, Field, Bitrate, 138, 349, 115, 20, "", "logfile", ""},
    {30, Button, Bitrate, 258, 320, 25, 20, "...", "", ""},
    {126, Button, Bitrate, 258, 349, 25, 20, "...", "", ""},
    {92, Label, Bitrate, 8, 234, 70, 15, "Input file:", "", ""},
    {93, Label, Bitrate, 8, 259, 80, 15, "Output file:", "", ""},
    {88, Field, Bitrate, 83, 234, 175, 20, "", "input", ""},
    {89, Field, Bitrate, 93, 259, 165, 20, "", "output", ""},
    {90, Button, Bitrate, 263, 234, 25, 20, "...", "", ""},
    {91, Button, Bitrate, 263, 259, 25, 20, "...", "", ""},

    // "Rate Control".
    {31, Frame, RateControl, 8, 10, 290, 119, "Bitrate && Quantization Limits", "", ""},
    {32, Frame, RateControl, 8, 133, 290, 119, "VBV Settings && Scene Cuts", "", ""},
    {33, Frame, RateControl, 8, 254, 290, 95, "Adjust QP && deadzones", "", ""},
    {34, Label, RateControl, 20, 28, 110, 15, "KeyFrame boost(%)", "", ""},
    {35, Label, RateControl, 20, 52, 110, 15, "B-frames reduction(%)", "", ""},
    {36, Label, RateControl, 20, 76, 110, 15, "Quantizer Comp(%)", "", ""},
    {153, Label, RateControl, 20, 100, 150, 15, "Chroma QP Offset", "", ""},
    {37, Digits, RateControl, 135, 26, 30, 20, "40", "kfb", "QP factor between I and P [40]"},
    {38, Digits, RateControl, 135, 50, 30, 20, "30", "bfr", "QP factor between P and B [30]"},
    {39, Digits, RateControl, 135, 73, 30, 20, "60", "vbr", "QP curve compression: 0 => CBR, 100 => CQP [60]"},
    {152, Field, RateControl, 135, 97, 30, 20, "0", "chromaqpoffset", "QP difference between chroma and luma [0]"},
    {40, Label, RateControl, 170, 28, 65, 15, "Min QP", "", ""},
    {41, Label, RateControl, 170, 52, 65, 15, "Max QP", "", ""},
    {42, Label, RateControl, 170, 76, 65, 15, "Max QP Step", "", ""},
    {43, Digits, RateControl, 236, 26, 35, 20, "10", "minqp", ""},
    {44, Digits, RateControl, 236, 50, 35, 20, "51", "maxqp", ""},
    {45, Digits, RateControl, 236, 73, 35, 20, "4", "qps", ""},
    {134, Label, RateControl, 20, 148, 135, 20, "VBV Buffer Size", "", ""},
    {135, Label, RateControl, 20, 172, 135, 20, "VBV Maximum Bitrate", "", ""},
    {136, Label, RateControl, 20, 196, 135, 20, "VBV Initial Buffer", "", ""},
    {137, Label, RateControl, 20, 220, 135, 20, "Bitrate Variance(%)", "", ""},
    {130, Field, RateControl, 125, 148, 30, 20, "0", "vbs", "Enable CBR and set size of the VBV buffer (kbit) [0]"},
    {131, Field, RateControl, 125, 172, 30, 20, "0", "vmb", "Max local bitrate (kbit/s) [0]"},
    {132, Field, RateControl, 125, 196, 30, 20, "0.9", "vib", "Initial VBV buffer occupancy [0.9]"},
    {133, Digits, RateControl, 125, 220, 30, 20, "100", "bv", "Allowed variance of average bitrate [100]"},
    {46, Label, RateControl, 165, 158, 85, 15, "SC Threshold", "", ""},
    {47, Label, RateControl, 165, 184, 85, 15, "Min I-f interval", "", ""},
    {48, Label, RateControl, 165, 217, 85, 15, "Max I-f interval", "", ""},
    {49, Digits, RateControl, 245, 154, 35, 20, "40", "sct", "How aggressively to insert extra I-frames [40]"},
    {50, Digits, RateControl, 245, 184, 35, 20, "25", "mingop", "Minimum GOP size [25]"},
    {51, Digits, RateControl, 245, 214, 35, 20, "250", "maxgop", "Maximum GOP size [250]"},
    {145, Label, RateControl, 15, 275, 50, 15, "AQ Mode", "", ""},
    {146, List, RateControl, 65, 273, 90, 80, "", "aq", "How AQ distributes bits [Multiple frames]"},
    {143, Label, RateControl, 20, 309, 80, 15, "AQ Strength", "", ""},
    {144, Field, RateControl, 100, 309, 35, 20, "1.0", "aq1", "Reduces blocking and blurring in flat and textured areas. [1.0]"},
    {147, Label, RateControl, 170, 273, 120, 15, "Deadzone settings", "", ""},
    {148, Label, RateControl, 170, 298, 120, 15, "Inter", "", ""},
    {149, Label, RateControl, 170, 321, 120, 15, "Intra", "", ""},
    {150, Field, RateControl, 230, 298, 35, 20, "21", "dzinter", "Set the size of the inter luma quantization deadzone [21]"},
    {151, Field, RateControl, 230, 321, 35, 20, "11", "dzintra", "Set the size of the intra luma quantization deadzone [11]"},

    // "MBs&&Frames".
    {1, Frame, MBsFrames, 8, 4, 285, 145, "Partitions", "", "Partitions to consider"},
    {2, Frame, MBsFrames, 8, 154, 285, 140, "B Frames", "", ""},
    {162, Frame, MBsFrames, 8, 300, 285, 70, "Psychovisual optimization", "", ""},
    {6, Check, MBsFrames, 28, 24, 255, 15, "8x8 Transform", "a1", ""},
    {7, Check, MBsFrames, 28, 44, 255, 15, "8x8,8x16 and 16x8 P-frame search", "a2", ""},
    {8, Check, MBsFrames, 28, 64, 255, 15, "8x8,8x16 and 16x8 B-Frame search", "a3", ""},
    {9, Check, MBsFrames, 28, 84, 255, 15, "4x4,4x8 and 8x4 P-frame search", "a4", ""},
    {10, Check, MBsFrames, 28, 104, 255, 15, "8x8 Intra search", "a5", ""},
    {11, Check, MBsFrames, 28, 124, 255, 15, "4x4 Intra search", "a6", ""},
    {12, Label, MBsFrames, 18, 174, 110, 15, "Max consecutive", "", ""},
    {13, Label, MBsFrames, 18, 194, 35, 15, "Bias", "", ""},
    {14, Track, MBsFrames, 73, 194, 120, 15, "", "biasbar", "Influences how often B-frames are used [0]", 0, /*trackMax=*/200},
    {15, Digits, MBsFrames, 208, 169, 55, 20, "2", "mb", "Number of B-frames between I And P [0]"},
    {16, Field, MBsFrames, 208, 194, 55, 20, "0", "bias", "", /*maxLength=*/3},
    {17, Check, MBsFrames, 18, 219, 80, 15, "Use as Ref.", "bref", "Keep some B-frames as references"},
    {18, Check, MBsFrames, 124, 219, 75, 15, "Adaptive", "ba", "Enable adaptive B-frame decision"},
    {159, Check, MBsFrames, 229, 219, 60, 15, "Optimal", "bfoptimal", "Optimal method for Adaptive B-frame decision"},
    {19, Check, MBsFrames, 18, 239, 150, 15, "Weighted biprediction", "bwb", "Weighted prediction for B-frames"},
    {20, Label, MBsFrames, 18, 264, 80, 15, "Direct Mode", "", ""},
    {82, List, MBsFrames, 80, 264, 70, 130, "", "dm", "Direct MV prediction mode [Spatial]"},
    {154, Label, MBsFrames, 170, 245, 110, 15, "Direct prediction size:", "", ""},
    {155, List, MBsFrames, 170, 264, 110, 130, "", "directpm", "", 0, 0, false, /*startsDisabled=*/true},
    {165, Label, MBsFrames, 18, 320, 140, 20, "RDO (requires subme>=6)", "", ""},
    {166, Label, MBsFrames, 18, 345, 140, 20, "Trellis (requires trellis)", "", ""},
    {163, Field, MBsFrames, 180, 320, 40, 20, "1.0", "psyrd_rdo", "RDO strength of psychovisual optimization [1.0]"},
    {164, Field, MBsFrames, 180, 345, 40, 20, "0.0", "psyrd_tre", "Trellis strength of psychovisual optimization (experimental) [0.0]"},

    // "More".
    {52, Frame, More, 8, 9, 290, 130, "Motion Estimation", "", ""},
    {53, List, More, 133, 24, 145, 110, "", "m", "Subpixel motion estimation and partition [5]"},
    {54, List, More, 118, 49, 160, 115, "", "ms", ""},
    {55, Label, More, 13, 24, 115, 20, "Partition decision", "", ""},
    {56, Label, More, 13, 49, 100, 20, "Method", "", ""},
    {57, Label, More, 13, 79, 50, 20, "Range", "", ""},
    {58, Label, More, 13, 109, 100, 20, "Max Ref. frames", "", ""},
    {59, Digits, More, 73, 79, 35, 20, "16", "range", "Maximum motion vector search range [16]"},
    {60, Digits, More, 118, 109, 45, 20, "1", "ref", "Number of reference frames [1]"},
    {61, Check, More, 210, 79, 70, 15, "Chroma ME", "chromame", "Consider chroma in motion estimation"},
    {62, Check, More, 210, 99, 70, 15, "Mixed Refs", "mxref", "Decide references on a per partition basis"},
    {118, Check, More, 210, 119, 70, 15, "Fast P Skip", "fastpsk", "Enables early SKIP detection on P-frames"},
    {119, Check, More, 118, 79, 90, 15, "DCT Decimate", "dctd", "Enables coefficient thresholding on P-frames"},
    {63, Frame, More, 8, 144, 290, 150, "Misc. options", "", ""},
    {66, Digits, More, 68, 174, 25, 18, "1", "arx", ""},
    {67, Digits, More, 102, 174, 25, 18, "1", "ary", ""},
    {68, Label, More, 93, 174, 15, 15, " :", "", ""},
    {69, Label, More, 13, 199, 55, 15, "Threads", "", ""},
    {112, Check, More, 150, 199, 110, 15, "Alone Thread Input", "apin", "Run Avisynth in its own thread"},
    {65, Label, More, 13, 174, 55, 15, "Sample AR", "", ""},
    {70, Field, More, 68, 199, 15, 18, "1", "thr", "Parallel encoding"},
    {71, Check, More, 150, 174, 65, 15, "CABAC", "cab", ""},
    {72, Label, More, 225, 174, 30, 15, "Trellis", "", ""},
    {129, List, More, 260, 172, 30, 100, "", "tre", "Trellis RD quantization. Requires CABAC. [0]"},
    {73, Label, More, 13, 224, 85, 15, "Noise Reduction", "", ""},
    {74, Field, More, 98, 224, 35, 18, "0", "nr", ""},
    {75, Check, More, 18, 260, 100, 15, "Deblocking filter:", "fil", "Loop filter AlphaC0 and Beta parameters"},
    {122, Label, More, 150, 224, 50, 15, "Quant:", "", ""},
    {123, EditList, More, 200, 222, 70, 50, "", "cqm", "Quant matrices"},
    {76, Label, More, 153, 254, 50, 15, "Strength", "", ""},
    {77, Label, More, 153, 270, 55, 15, "Threshold", "", ""},
    {78, Track, More, 213, 254, 55, 15, "", "deb-a", "", 0, /*trackMax=*/12},
    {79, Track, More, 213, 269, 55, 15, "", "deb-b", "", 0, /*trackMax=*/12},
    {80, Label, More, 268, 254, 20, 15, "0", "fa", ""},
    {81, Label, More, 268, 269, 20, 15, "0", "fb", ""},
    {cid::none, Frame, More, 8, 300, 290, 75, "Audio", "", "", 0, 0, /*systemFont=*/true},
    {107, Check, More, 20, 320, 160, 15, "Enable Audio Encoding", "aud", "Encodes audio after encoding video"},
    {108, Field, More, 180, 320, 40, 20, "64", "aub", ""},
    {109, Label, More, 230, 322, 50, 15, "Kbps", "", ""},
    {167, Label, More, 20, 347, 65, 15, "Encoder", "", ""},
    {110, List, More, 85, 345, 70, 140, "", "ae", "Encoder to encode audio"},
    {168, Label, More, 170, 347, 55, 15, "Muxer", "", ""},
    {111, List, More, 225, 345, 65, 140, "", "muxer", "Muxer to mux audio"},

    // "Job".
    {94, ListBox, Job, 3, 4, 260, 335, "", "JobList", ""},
    {95, Button, Job, 230, 344, 65, 20, "Make BAT", "", ""},
    {96, Button, Job, 155, 344, 65, 20, "Clear", "", ""},
    {97, Button, Job, 80, 344, 65, 20, "Disable", "", ""},
    {99, Button, Job, 5, 344, 65, 20, "Start", "", ""},
    {103, Button, Job, 264, 10, 40, 30, "view", "", ""},
    {100, Button, Job, 264, 60, 40, 30, "up", "", ""},
    {101, Button, Job, 264, 110, 40, 30, "down", "", ""},
    {102, Button, Job, 264, 160, 40, 30, "edit", "", ""},
    {142, Button, Job, 264, 210, 40, 30, "del", "", ""},
    {106, Button, Job, 264, 260, 40, 30, "Shut", "", ""},
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
