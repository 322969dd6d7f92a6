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
inline constexpr ControlId presetsLabel = 161;
inline constexpr ControlId avsincLabel = 160;
inline constexpr ControlId statsfileLabel = 28;
inline constexpr ControlId inputLabel = 92;
inline constexpr ControlId outputLabel = 93;

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
inline constexpr ControlId limitsFrame = 31;
inline constexpr ControlId vbvFrame = 32;
inline constexpr ControlId qpFrame = 33;
inline constexpr ControlId kfbLabel = 34;
inline constexpr ControlId bfrLabel = 35;
inline constexpr ControlId vbrLabel = 36;
inline constexpr ControlId chromaqpoffsetLabel = 153;
inline constexpr ControlId minqpLabel = 40;
inline constexpr ControlId maxqpLabel = 41;
inline constexpr ControlId qpsLabel = 42;
inline constexpr ControlId vbsLabel = 134;
inline constexpr ControlId vmbLabel = 135;
inline constexpr ControlId vibLabel = 136;
inline constexpr ControlId bvLabel = 137;
inline constexpr ControlId sctLabel = 46;
inline constexpr ControlId mingopLabel = 47;
inline constexpr ControlId maxgopLabel = 48;
inline constexpr ControlId aqLabel = 145;
inline constexpr ControlId aq1Label = 143;
inline constexpr ControlId deadzoneLabel = 147;
inline constexpr ControlId dzinterLabel = 148;
inline constexpr ControlId dzintraLabel = 149;

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
inline constexpr ControlId partitionsFrame = 1;
inline constexpr ControlId bFramesFrame = 2;
inline constexpr ControlId psyFrame = 162;
inline constexpr ControlId mbLabel = 12;
inline constexpr ControlId biasLabel = 13;
inline constexpr ControlId dmLabel = 20;
inline constexpr ControlId directpmLabel = 154;
inline constexpr ControlId psyrd_rdoLabel = 165;
inline constexpr ControlId psyrd_treLabel = 166;

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
inline constexpr ControlId motionFrame = 52;
inline constexpr ControlId mLabel = 55;
inline constexpr ControlId msLabel = 56;
inline constexpr ControlId merangeLabel = 57;  // beside `range`
inline constexpr ControlId refLabel = 58;
inline constexpr ControlId miscFrame = 63;
inline constexpr ControlId sarLabel = 65;
inline constexpr ControlId sarColon = 68;
inline constexpr ControlId thrLabel = 69;
inline constexpr ControlId treLabel = 72;
inline constexpr ControlId nrLabel = 73;
inline constexpr ControlId cqmLabel = 122;
inline constexpr ControlId deb_aLabel = 76;
inline constexpr ControlId deb_bLabel = 77;
inline constexpr ControlId aubLabel = 109;
inline constexpr ControlId aeLabel = 167;
inline constexpr ControlId muxerLabel = 168;

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
