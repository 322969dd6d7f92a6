#pragma once

#include <string_view>

#include "args/argument.h"
#include "settings/settings_value.h"

// Which switches the x264 that the batch lines call understands. The
// default is the classic set of the x264 builds of 2008, which is also what
// is written when no x264 can be found or asked.
struct EncoderDialect {
  // x264 of mid-2009 on: it shows its progress unasked, knows --psnr and
  // --ssim instead of --no-psnr and --no-ssim, and turns weighted
  // biprediction, the 8x8 transform, mixed references, trellis and mb-tree
  // on, and a first pass's analysis down, unless the line says otherwise.
  bool current = false;
  // --b-pyramid takes a name (none, strict, normal): x264 of early 2010 on.
  bool namedPyramid = false;

  bool operator==(const EncoderDialect&) const = default;
};

// The dialect that the text x264 prints for --longhelp tells: current when
// it lists --no-progress; otherwise classic.
EncoderDialect DialectOfHelp(std::string_view help);

// For a current x264: the switches that make it do what the controls say
// where the pass line `written` is silent and today's default differs: no
// mb-tree, a full first pass, and the 8x8 transform, mixed references,
// trellis, the B-pyramid and weighted biprediction off unless written on.
// Nothing for the classic dialect.
ArgList DefaultOverrides(const Settings& s, const EncoderDialect& dialect, const ArgList& written,
                         bool firstPass);
