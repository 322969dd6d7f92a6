// The pass lines written for today's x264 run the real encoder (the x264
// that the build machine installs) to the end, and the options it records
// are those the controls ask for.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "jobs/compose_job.h"
#include "support/first_start.h"
#include "support/memory_platform.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Runs a program with `args`, its output thrown away; its exit code, or -1.
int RunProgram(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

std::string Output(const std::string& command) {
  std::string text;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, got);
    pclose(pipe);
  }
  return text;
}

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The arguments of a batch line as the encoder receives them: split at
// blanks outside double quotes, the quotes taken away, "@if errorlevel 1 "
// and "@" dropped, x264.exe and the null device under their Linux names.
std::vector<std::string> LinuxArguments(std::string line) {
  for (const char* prefix : {"@if errorlevel 1 ", "@"})
    if (line.starts_with(prefix)) line.erase(0, std::string(prefix).size());
  std::vector<std::string> args;
  std::string current;
  bool quoted = false;
  bool any = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if (c == ' ' && !quoted) {
      if (any) args.push_back(current);
      current.clear();
      any = false;
    } else {
      current += c;
      any = true;
    }
  }
  if (any) args.push_back(current);
  if (!args.empty() && args[0] == "x264.exe") args[0] = "x264";
  for (size_t i = 1; i < args.size(); ++i)
    if (args[i - 1] == "-o" && args[i] == "nul") args[i] = "/dev/null";
  return args;
}

// "key=value" pairs of the options string x264 records ("options: ..." in
// the stream, "#options: ..." in a stats file).
std::map<std::string, std::string> RecordedOptions(const std::string& bytes) {
  std::map<std::string, std::string> options;
  const size_t at = bytes.find("options: ");
  if (at == std::string::npos) return options;
  const size_t end = bytes.find_first_of(std::string("\n\0", 2), at);
  std::istringstream words(bytes.substr(at + 9, end - at - 9));
  std::string word;
  while (words >> word)
    if (size_t equals = word.find('='); equals != std::string::npos)
      options[word.substr(0, equals)] = word.substr(equals + 1);
  return options;
}

// A 10-frame, 64 x 48 clip with some motion.
void WriteClip(const fs::path& path) {
  std::ofstream out(path, std::ios::binary);
  constexpr int kWidth = 64, kHeight = 48;
  out << "YUV4MPEG2 W" << kWidth << " H" << kHeight << " F25:1 Ip A1:1 C420jpeg\n";
  for (int frame = 0; frame < 10; ++frame) {
    out << "FRAME\n";
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) out.put(static_cast<char>((x * 3 + y + frame * 5) & 0xFF));
    out << std::string(kWidth * kHeight / 2, '\x80');
  }
}

class X264Run : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quorvel-x264-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
    WriteClip(dir / "clip.y4m");
    ASSERT_EQ(RunProgram({"x264", "--version"}), 0)
        << "x264 must be installed (scripts/bootstrap.sh)";
  }
  void TearDown() override { fs::remove_all(dir); }

  // The settings of a first start, with this folder's files and no log.
  Settings firstStart() {
    Settings s = FirstStartSettings();
    s.input = (dir / "clip.y4m").string();
    s.output = (dir / "clip.264").string();
    s.statsfile = (dir / "clip.stats").string();
    s.crelog = false;
    s.aud = false;
    return s;
  }

  fs::path dir;
};

// What the controls ask x264 to record, for a pass of `stage`.
std::map<std::string, std::string> Meant(const Settings& s, EncodeMode stage) {
  using enum EncodeMode;
  const bool firstPass = stage == FirstPass || stage == FirstPassFast || stage == FirstPassCrf ||
                         stage == FirstPassCrfFast || stage == FirstPassCrfWithOutput;
  const bool reduced = stage == FirstPass || stage == FirstPassFast || stage == FirstPassCrfFast;
  const bool oneReference = stage == FirstPassFast || stage == FirstPassCrfFast;
  const bool trellisWritten = !firstPass || stage == FirstPassCrfWithOutput;
  const int bframes = std::atoi(s.mb.c_str());
  char ratio[16];
  std::snprintf(ratio, sizeof ratio, "%.2f", 1 + std::atoi(s.bfr.c_str()) / 100.0);
  std::map<std::string, std::string> meant = {
      {"trellis", trellisWritten && s.cab ? std::to_string(s.tre) : "0"},
      {"8x8dct", !reduced && s.a1 ? "1" : "0"},
      {"mixed_ref", !oneReference && s.mxref && std::atoi(s.ref.c_str()) > 1 ? "1" : "0"},
      {"mbtree", "0"},
  };
  // x264 records the B-frame options only when there are B-frames.
  if (bframes > 0) {
    meant["b_pyramid"] = bframes >= 2 && s.bref ? "2" : "0";
    meant["weightb"] = s.bwb ? "1" : "0";
    meant["pb_ratio"] = ratio;
  }
  return meant;
}

// The single-run mode each pass line of a job of `mode` is built as.
std::vector<EncodeMode> Stages(EncodeMode mode) {
  using enum EncodeMode;
  switch (mode) {
    case AutomatedDouble:
      return {FirstPass, NthPass};
    case AutomatedDoubleFast:
      return {FirstPassFast, NthPass};
    case AutomatedDoubleCrf:
      return {FirstPassCrf, NthPass};
    case AutomatedDoubleCrfFast:
      return {FirstPassCrfFast, NthPass};
    case ConditionalDouble:
      return {FirstPassCrfWithOutput, ConditionalDouble};
    default:
      return {mode};
  }
}

TEST_F(X264Run, TheInstalledX264SpeaksTheCurrentDialect) {
  EXPECT_EQ(DialectOfHelp(Output("x264 --longhelp 2>&1")), (EncoderDialect{true, true}));
}

TEST_F(X264Run, EveryModeRunsAndAppliesWhatTheControlsSay) {
  const EncoderDialect today{true, true};
  const std::vector<std::pair<const char*, std::function<void(Settings&)>>> variants = {
      {"first start", [](Settings&) {}},
      {"B-pyramid", [](Settings& s) { s.bref = true; }},
      {"no weighted biprediction", [](Settings& s) { s.bwb = false; }},
      {"no 8x8 transform", [](Settings& s) { s.a1 = false; }},
      {"mixed references",
       [](Settings& s) {
         s.mxref = true;
         s.ref = "3";
       }},
      {"trellis 2", [](Settings& s) { s.tre = 2; }},
      {"no CABAC",
       [](Settings& s) {
         s.cab = false;
         s.tre = 2;
       }},
      {"B-frame ratio", [](Settings& s) { s.bfr = "756"; }},
      {"no B-frames", [](Settings& s) { s.mb = "0"; }},
      {"metrics",
       [](Settings& s) {
         s.psnr = true;
         s.ssim = true;
       }},
  };
  FakeMedia media;
  for (const auto& [name, change] : variants) {
    for (int m = 0; m <= static_cast<int>(EncodeMode::ConditionalDouble); ++m) {
      Settings s = firstStart();
      change(s);
      s.mode = static_cast<EncodeMode>(m);
      SCOPED_TRACE(name);
      SCOPED_TRACE(m);
      std::vector<std::string> passes;
      if (s.mode == EncodeMode::NthPass) {  // its statistics come from a first pass
        Settings first = s;
        first.mode = EncodeMode::FirstPass;
        passes.push_back(PassCommandBuilder(first, media, today));
      }
      const ComposedJob job = ComposeJob(s, media, today);
      ASSERT_FALSE(job.refusal);
      for (const std::string& line : job.lines)
        if (line.find("x264.exe") != std::string::npos) passes.push_back(line);
      const std::vector<EncodeMode> stages = Stages(s.mode);
      ASSERT_GE(passes.size(), stages.size());
      for (size_t i = 0; i < passes.size(); ++i) {
        const std::vector<std::string> args = LinuxArguments(passes[i]);
        ASSERT_EQ(RunProgram(args), 0) << passes[i];
        const size_t stage = i + stages.size() - passes.size();
        if (i < passes.size() - stages.size()) continue;  // the statistics for an Nth pass
        const bool discards = args[args.size() - 2] == "/dev/null";
        const auto recorded =
            RecordedOptions(Contents(dir / (discards ? "clip.stats" : "clip.264")));
        for (const auto& [key, value] : Meant(s, stages[stage]))
          EXPECT_EQ(recorded.count(key) ? recorded.at(key) : "(none)", value)
              << key << ": " << passes[i];
      }
    }
  }
}

}  // namespace
