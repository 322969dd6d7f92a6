#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

// The programs that batch lines run, as the lines name them ("x264.exe",
// "mkvmerge"), each once, in the order they first appear: the first word of
// each command of a line, after its "@" and its "if" tests, and of each
// command a pipe feeds. The command interpreter's own commands (echo, del,
// ren, rem ...) are none, and neither are disabled lines and labels.
std::vector<std::string> CalledPrograms(std::span<const std::string> lines);

// Every program that the batches of this program may call besides x264:
// the helpers of the preamble and of the passes, the audio tools and the
// muxers.
inline constexpr std::string_view kJobPrograms[] = {
    "envprep.exe",    "lullo.exe", "teelog.exe", "gaugit.exe",     "bepipe.exe", "enc_aacplus.exe",
    "neroaacenc.exe", "faac.exe",  "mp4box.exe", "mp4creator.exe", "mkvmerge"};
