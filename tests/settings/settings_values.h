#pragma once

#include <gtest/gtest.h>

#include <span>
#include <string_view>

#include "ui/control_id.h"
#include "ui/window.h"

// What a control shows: its state (check, list index, track position) or
// its text.
struct Shown {
  ControlId id;
  bool byState;
  int state;
  std::string_view text;
};

constexpr Shown State(ControlId id, int state) { return {id, true, state, {}}; }
constexpr Shown Text(ControlId id, std::string_view text) { return {id, false, 0, text}; }

inline void ExpectShown(const Window& window, std::span<const Shown> rows) {
  for (const Shown& row : rows) {
    if (row.byState)
      EXPECT_EQ(window.state(row.id), row.state) << "state of control " << row.id;
    else
      EXPECT_EQ(window.text(row.id), row.text) << "text of control " << row.id;
  }
}

inline void SetShown(Window& window, std::span<const Shown> rows) {
  for (const Shown& row : rows) {
    if (row.byState)
      window.setState(row.id, row.state);
    else
      window.setText(row.id, row.text);
  }
}

// Every keyed control after loading a file without any key line: each
// takes its value for a missing key, as the load's range checks leave it.
// clang-format off
inline constexpr Shown kAfterEmptyFile[] = {
    State(cid::upstat, 1), State(cid::a1, 0), State(cid::a2, 0), State(cid::a3, 0),
    State(cid::a4, 0), State(cid::a5, 0), State(cid::a6, 0), State(cid::cab, 0),
    State(cid::mxref, 0), State(cid::tre, 0), State(cid::fil, 0), State(cid::bref, 0),
    State(cid::ba, 0), State(cid::bwb, 0), State(cid::mode, 0), State(cid::dm, 0),
    State(cid::m, 0), State(cid::ms, 0), State(cid::aud, 0), State(cid::ae, 0),
    State(cid::apin, 0), State(cid::muxer, 0), State(cid::deb_a, 6), State(cid::deb_b, 6),
    State(cid::fastpsk, 1), State(cid::dctd, 1), State(cid::crelog, 1), State(cid::sizemode, 0),
    State(cid::aq, 1), State(cid::directpm, 0), State(cid::psnr, 0), State(cid::ssim, 0),
    State(cid::level, 0), State(cid::bfoptimal, 0), Text(cid::cqm, "flat"), Text(cid::aub, "64000"),
    Text(cid::fa, "0"), Text(cid::mb, "0"), Text(cid::bias, "0"), Text(cid::fb, "0"),
    Text(cid::value, "0"), Text(cid::range, "0"), Text(cid::ref, "0"), Text(cid::arx, "0"),
    Text(cid::ary, "0"), Text(cid::thr, "0"), Text(cid::nr, "0"), Text(cid::kfb, "0"),
    Text(cid::bfr, "0"), Text(cid::vbr, "0"), Text(cid::minqp, "1"), Text(cid::maxqp, "1"),
    Text(cid::qps, "1"), Text(cid::vbs, "0"), Text(cid::vmb, "0"), Text(cid::vib, "0.9"),
    Text(cid::bv, "100"), Text(cid::sct, "0"), Text(cid::mingop, "0"), Text(cid::maxgop, "0"),
    Text(cid::auto1pcrf, "16"), Text(cid::avsinc, ""),
    Text(cid::maxsize, "110"), Text(cid::minsize, "90"),
    Text(cid::dzinter, "21"), Text(cid::dzintra, "11"),
    Text(cid::aq1, "1"), Text(cid::chromaqpoffset, "0"),
    Text(cid::psyrd_rdo, "1.0"), Text(cid::psyrd_tre, "0.0"),
};
// clang-format on

// Every keyed control after the built-in defaults were loaded.
// clang-format off
inline constexpr Shown kAfterDefaults[] = {
    State(cid::upstat, 1), State(cid::a1, 1), State(cid::a2, 1), State(cid::a3, 1),
    State(cid::a4, 0), State(cid::a5, 1), State(cid::a6, 1), State(cid::cab, 1),
    State(cid::mxref, 0), State(cid::tre, 0), State(cid::fil, 1), State(cid::bref, 0),
    State(cid::ba, 1), State(cid::bwb, 1), State(cid::mode, 1), State(cid::dm, 0),
    State(cid::m, 4), State(cid::ms, 1), State(cid::aud, 0), State(cid::ae, 1),
    State(cid::apin, 0), State(cid::muxer, 0), State(cid::deb_a, 6), State(cid::deb_b, 6),
    State(cid::fastpsk, 1), State(cid::dctd, 1), State(cid::crelog, 1), State(cid::sizemode, 0),
    State(cid::aq, 1), State(cid::directpm, 0), State(cid::psnr, 0), State(cid::ssim, 0),
    State(cid::level, 0), State(cid::bfoptimal, 0), Text(cid::cqm, "flat"), Text(cid::aub, "64"),
    Text(cid::fa, "0"), Text(cid::mb, "2"), Text(cid::bias, "0"), Text(cid::fb, "0"),
    Text(cid::value, "26"), Text(cid::range, "16"), Text(cid::ref, "1"), Text(cid::arx, "1"),
    Text(cid::ary, "1"), Text(cid::thr, "1"), Text(cid::nr, "0"), Text(cid::kfb, "40"),
    Text(cid::bfr, "30"), Text(cid::vbr, "60"), Text(cid::minqp, "10"), Text(cid::maxqp, "51"),
    Text(cid::qps, "4"), Text(cid::vbs, "0"), Text(cid::vmb, "0"), Text(cid::vib, "0.9"),
    Text(cid::bv, "100"), Text(cid::sct, "40"), Text(cid::mingop, "25"), Text(cid::maxgop, "250"),
    Text(cid::auto1pcrf, "16"), Text(cid::avsinc, ""),
    Text(cid::maxsize, "110"), Text(cid::minsize, "90"),
    Text(cid::dzinter, "21"), Text(cid::dzintra, "11"),
    Text(cid::aq1, "1"), Text(cid::chromaqpoffset, "0"),
    Text(cid::psyrd_rdo, "1.0"), Text(cid::psyrd_tre, "0.0"),
};
// clang-format on

// A value in every keyed control that differs from both its default and
// its value for a missing key, and that the load's checks accept. `avsinc`
// needs the entry "Deint" in its list.
// clang-format off
inline constexpr Shown kChangedValues[] = {
    State(cid::upstat, 0), State(cid::a1, 0), State(cid::a2, 0), State(cid::a3, 0),
    State(cid::a4, 1), State(cid::a5, 0), State(cid::a6, 0), State(cid::cab, 0),
    State(cid::mxref, 1), State(cid::tre, 2), State(cid::fil, 0), State(cid::bref, 1),
    State(cid::ba, 0), State(cid::bwb, 0), State(cid::mode, 13), State(cid::dm, 3),
    State(cid::m, 8), State(cid::ms, 4), State(cid::aud, 1), State(cid::ae, 3),
    State(cid::apin, 1), State(cid::muxer, 2), State(cid::deb_a, 2), State(cid::deb_b, 11),
    State(cid::fastpsk, 0), State(cid::dctd, 0), State(cid::crelog, 0), State(cid::sizemode, 1),
    State(cid::aq, 0), State(cid::directpm, 2), State(cid::psnr, 1), State(cid::ssim, 1),
    State(cid::level, 15), State(cid::bfoptimal, 1),
    Text(cid::cqm, "\"C:\\m\\q.cfg\""), Text(cid::aub, "128"),
    Text(cid::fa, "-4"), Text(cid::mb, "3"), Text(cid::bias, "-25"), Text(cid::fb, "5"),
    Text(cid::value, "9000"), Text(cid::range, "24"), Text(cid::ref, "5"), Text(cid::arx, "16"),
    Text(cid::ary, "11"), Text(cid::thr, "3"), Text(cid::nr, "250"), Text(cid::kfb, "55"),
    Text(cid::bfr, "45"), Text(cid::vbr, "70"), Text(cid::minqp, "12"), Text(cid::maxqp, "45"),
    Text(cid::qps, "6"), Text(cid::vbs, "12000"), Text(cid::vmb, "25000"), Text(cid::vib, "0.75"),
    Text(cid::bv, "250"), Text(cid::sct, "35"), Text(cid::mingop, "12"), Text(cid::maxgop, "300"),
    Text(cid::auto1pcrf, "18.5"), Text(cid::avsinc, "Deint"),
    Text(cid::maxsize, "700"), Text(cid::minsize, "650"),
    Text(cid::dzinter, "15"), Text(cid::dzintra, "7"),
    Text(cid::aq1, "0.8"), Text(cid::chromaqpoffset, "-2"),
    Text(cid::psyrd_rdo, "0.7"), Text(cid::psyrd_tre, "0.2"),
};
// clang-format on

// The settings file SaveSettings writes for kChangedValues.
inline constexpr std::string_view kChangedFile =
    "upstat = 0\r\na1 = 0\r\na2 = 0\r\na3 = 0\r\na4 = 1\r\na5 = 0\r\na6 = 0\r\ncab = 0\r\n"
    "mxref = 1\r\ntre = 2\r\nfil = 0\r\nbref = 1\r\nba = 0\r\nbwb = 0\r\nmode = 13\r\n"
    "dm = 3\r\nm = 8\r\nms = 4\r\naud = 1\r\nae = 6\r\napin = 1\r\nmuxer = 2\r\n"
    "deb-a = 2\r\ndeb-b = 11\r\nfastpsk = 0\r\ndctd = 0\r\ncrelog = 0\r\nsizemode = 1\r\n"
    "aq = 0\r\ndirectpm = 2\r\npsnr = 1\r\nssim = 1\r\nlevel = 15\r\nbfoptimal = 1\r\n"
    "cqm = \"C:\\m\\q.cfg\"\r\naub = 128\r\nfa = -4\r\nmb = 3\r\nbias = -25\r\nfb = 5\r\n"
    "value = 9000\r\nrange = 24\r\nref = 5\r\narx = 16\r\nary = 11\r\nthr = 3\r\n"
    "nr = 250\r\nkfb = 55\r\nbfr = 45\r\nvbr = 70\r\nminqp = 12\r\nmaxqp = 45\r\n"
    "qps = 6\r\nvbs = 12000\r\nvmb = 25000\r\nvib = 0.75\r\nbv = 250\r\nsct = 35\r\n"
    "mingop = 12\r\nmaxgop = 300\r\nauto1pcrf = 18.5\r\navsinc = Deint\r\n"
    "maxsize = 700\r\nminsize = 650\r\ndzinter = 15\r\ndzintra = 7\r\naq1 = 0.8\r\n"
    "chromaqpoffset = -2\r\npsyrd_rdo = 0.7\r\npsyrd_tre = 0.2\r\n";
