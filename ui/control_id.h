#pragma once

// Every control of the main window is addressed by its ControlId, the value
// GetDlgCtrlID returns for it. Settings carry their INI key as name (a key
// that is no C++ identifier takes the nearest one: deb-a is deb_a).
using ControlId = int;

namespace cid {

inline constexpr ControlId none = 0;

// Below the tab panel.
inline constexpr ControlId loadDefault = 3;
inline constexpr ControlId add = 4;
inline constexpr ControlId level = 158;

// "Bitrate" page.
inline constexpr ControlId banner = 21;
inline constexpr ControlId ssim = 156;
inline constexpr ControlId psnr = 157;
inline constexpr ControlId minsize = 140;
inline constexpr ControlId maxsize = 138;
inline constexpr ControlId minsizeLabel = 141;
inline constexpr ControlId maxsizeLabel = 139;
inline constexpr ControlId mode = 22;
inline constexpr ControlId refresh = 115;
inline constexpr ControlId valueLabel = 23;
inline constexpr ControlId sizemode = 124;
inline constexpr ControlId rangeLabel = 87;
inline constexpr ControlId value = 24;
inline constexpr ControlId auto1pcrf = 120;
inline constexpr ControlId auto1pcrfLabel = 121;
inline constexpr ControlId presetname = 114;
inline constexpr ControlId avsinc = 128;
inline constexpr ControlId savePreset = 104;
inline constexpr ControlId loadPreset = 105;
inline constexpr ControlId upstat = 27;
inline constexpr ControlId batchAdding = 113;
inline constexpr ControlId crelog = 127;
inline constexpr ControlId statsfile = 29;
inline constexpr ControlId logfile = 125;
inline constexpr ControlId statsfileBrowse = 30;
inline constexpr ControlId logfileBrowse = 126;
inline constexpr ControlId input = 88;
inline constexpr ControlId output = 89;
inline constexpr ControlId inputBrowse = 90;
inline constexpr ControlId outputBrowse = 91;

// "Rate Control" page.
inline constexpr ControlId kfb = 37;
inline constexpr ControlId bfr = 38;
inline constexpr ControlId vbr = 39;
inline constexpr ControlId chromaqpoffset = 152;
inline constexpr ControlId minqp = 43;
inline constexpr ControlId maxqp = 44;
inline constexpr ControlId qps = 45;
inline constexpr ControlId vbs = 130;
inline constexpr ControlId vmb = 131;
inline constexpr ControlId vib = 132;
inline constexpr ControlId bv = 133;
inline constexpr ControlId sct = 49;
inline constexpr ControlId mingop = 50;
inline constexpr ControlId maxgop = 51;
inline constexpr ControlId aq = 146;
inline constexpr ControlId aq1 = 144;
inline constexpr ControlId dzinter = 150;
inline constexpr ControlId dzintra = 151;

// "MBs&Frames" page.
inline constexpr ControlId a1 = 6;
inline constexpr ControlId a2 = 7;
inline constexpr ControlId a3 = 8;
inline constexpr ControlId a4 = 9;
inline constexpr ControlId a5 = 10;
inline constexpr ControlId a6 = 11;
inline constexpr ControlId biasbar = 14;
inline constexpr ControlId mb = 15;
inline constexpr ControlId bias = 16;
inline constexpr ControlId bref = 17;
inline constexpr ControlId ba = 18;
inline constexpr ControlId bfoptimal = 159;
inline constexpr ControlId bwb = 19;
inline constexpr ControlId dm = 82;
inline constexpr ControlId directpm = 155;
inline constexpr ControlId psyrd_rdo = 163;
inline constexpr ControlId psyrd_tre = 164;

// "More" page.
inline constexpr ControlId m = 53;
inline constexpr ControlId ms = 54;
inline constexpr ControlId range = 59;
inline constexpr ControlId ref = 60;
inline constexpr ControlId chromame = 61;
inline constexpr ControlId mxref = 62;
inline constexpr ControlId fastpsk = 118;
inline constexpr ControlId dctd = 119;
inline constexpr ControlId arx = 66;
inline constexpr ControlId ary = 67;
inline constexpr ControlId apin = 112;
inline constexpr ControlId thr = 70;
inline constexpr ControlId cab = 71;
inline constexpr ControlId tre = 129;
inline constexpr ControlId nr = 74;
inline constexpr ControlId fil = 75;
inline constexpr ControlId cqm = 123;
inline constexpr ControlId deb_a = 78;
inline constexpr ControlId deb_b = 79;
inline constexpr ControlId fa = 80;
inline constexpr ControlId fb = 81;
inline constexpr ControlId aud = 107;
inline constexpr ControlId aub = 108;
inline constexpr ControlId ae = 110;
inline constexpr ControlId muxer = 111;

// "Job" page.
inline constexpr ControlId jobList = 94;
inline constexpr ControlId makeBat = 95;
inline constexpr ControlId clear = 96;
inline constexpr ControlId disable = 97;
inline constexpr ControlId start = 99;
inline constexpr ControlId view = 103;
inline constexpr ControlId up = 100;
inline constexpr ControlId down = 101;
inline constexpr ControlId edit = 102;
inline constexpr ControlId del = 142;
inline constexpr ControlId shut = 106;

}  // namespace cid
