#pragma once

#include <string>

#include "settings/fixed_lists.h"

// Every setting of the window at one moment, as a plain value: read from the
// window in one pass when a job is made, and from then on the only thing the
// job logic looks at. Members carry the INI keys (`deb-a` is deb_a).
// Check boxes are true when ticked; lists hold the selected index (-1: none);
// track bars their position; texts are as the controls show them. A value
// made from nothing holds no settings of the program: a first start gets
// them from the built-in set.
struct Settings {
  // Number settings, in file order.
  bool upstat = false;
  bool a1 = false;
  bool a2 = false;
  bool a3 = false;
  bool a4 = false;
  bool a5 = false;
  bool a6 = false;
  bool cab = false;
  bool mxref = false;
  int tre = -1;
  bool fil = false;
  bool bref = false;
  bool ba = false;
  bool bwb = false;
  EncodeMode mode{};
  int dm = -1;
  int m = -1;
  int ms = -1;
  bool aud = false;
  AudioEncoder ae{};
  bool apin = false;
  Muxer muxer{};
  int deb_a = 0;
  int deb_b = 0;
  bool fastpsk = false;
  bool dctd = false;
  bool crelog = false;
  bool sizemode = false;
  int aq = -1;
  int directpm = -1;
  bool psnr = false;
  bool ssim = false;
  int level = -1;
  bool bfoptimal = false;

  // Text settings, in file order.
  std::string cqm;
  std::string aub;
  std::string fa;
  std::string mb;
  std::string bias;
  std::string fb;
  std::string value;
  std::string range;
  std::string ref;
  std::string arx;
  std::string ary;
  std::string thr;
  std::string nr;
  std::string kfb;
  std::string bfr;
  std::string vbr;
  std::string minqp;
  std::string maxqp;
  std::string qps;
  std::string vbs;
  std::string vmb;
  std::string vib;
  std::string bv;
  std::string sct;
  std::string mingop;
  std::string maxgop;
  std::string auto1pcrf;
  std::string avsinc;
  std::string maxsize;
  std::string minsize;
  std::string dzinter;
  std::string dzintra;
  std::string aq1;
  std::string chromaqpoffset;
  std::string psyrd_rdo;
  std::string psyrd_tre;

  // Values of key-less controls that a job uses.
  std::string input;
  std::string output;
  std::string statsfile;
  std::string logfile;
  bool chromame = false;
};
