#pragma once

#include <optional>
#include <string_view>

// The programs that the batch lines of a job call, each named once: the
// composers write these names, and the reading of a line (job_line.h) finds
// its program, its step and what its exit code means here.

// A step of a job: what a started batch runs, and judges, one at a time.
enum class Step { Pass, SizeCheck, Audio, Mux };

// What an exit code of 1 means; 2 and more, and a negative code (a crash),
// are a failure of every step.
enum class CodeOne {
  Fails,     // the program failed
  Warns,     // it did its work with warnings the user should read (mkvmerge)
  Decides,   // it answered a question: the size check asks for the second pass
  Reported,  // no step: its code is not looked at
};

// Where the program names the file it writes among its arguments.
enum class Writes { Nothing, AfterO, AfterOf, SecondArgument, LastArgument };

struct JobProgram {
  std::string_view name;  // as the lines call it
  std::optional<Step> step;
  CodeOne codeOne;
  Writes writes;
};

namespace programs {

inline constexpr std::string_view kX264 = "x264.exe";
inline constexpr std::string_view kTeelog = "teelog.exe";
inline constexpr std::string_view kGaugit = "gaugit.exe";
inline constexpr std::string_view kBepipe = "bepipe.exe";
inline constexpr std::string_view kEncAacPlus = "enc_aacplus.exe";
inline constexpr std::string_view kNeroAacEnc = "neroaacenc.exe";
inline constexpr std::string_view kFaac = "faac.exe";
inline constexpr std::string_view kMp4Box = "mp4box.exe";
inline constexpr std::string_view kMp4Creator = "mp4creator.exe";
inline constexpr std::string_view kMkvMerge = "mkvmerge";
inline constexpr std::string_view kEnvprep = "envprep.exe";
inline constexpr std::string_view kLullo = "lullo.exe";
inline constexpr std::string_view kShutdown = "shutdown.exe";

}  // namespace programs

// Every program of the batches besides the system's own shutdown.exe: the
// steps' programs, and the helpers of the preamble and the passes.
inline constexpr JobProgram kJobPrograms[] = {
    {programs::kX264, Step::Pass, CodeOne::Fails, Writes::AfterO},
    {programs::kGaugit, Step::SizeCheck, CodeOne::Decides, Writes::Nothing},
    {programs::kBepipe, Step::Audio, CodeOne::Fails, Writes::Nothing},
    {programs::kEncAacPlus, Step::Audio, CodeOne::Fails, Writes::SecondArgument},
    {programs::kNeroAacEnc, Step::Audio, CodeOne::Fails, Writes::AfterOf},
    {programs::kFaac, Step::Audio, CodeOne::Fails, Writes::AfterO},
    {programs::kMp4Box, Step::Mux, CodeOne::Fails, Writes::LastArgument},
    {programs::kMp4Creator, Step::Mux, CodeOne::Fails, Writes::LastArgument},
    {programs::kMkvMerge, Step::Mux, CodeOne::Warns, Writes::AfterO},
    {programs::kTeelog, std::nullopt, CodeOne::Reported, Writes::Nothing},
    {programs::kEnvprep, std::nullopt, CodeOne::Reported, Writes::Nothing},
    {programs::kLullo, std::nullopt, CodeOne::Reported, Writes::Nothing},
};

// The row of the program a line calls by `called` (any case, with or
// without ".exe", without a folder); nothing for another program.
const JobProgram* FindJobProgram(std::string_view called);
