// How fast jobs are composed from a settings value.

#include <benchmark/benchmark.h>

#include <string>

#include "args/common_options.h"
#include "jobs/batch_line.h"
#include "jobs/compose_job.h"
#include "jobs/pass_command.h"
#include "support/first_start.h"
#include "support/memory_platform.h"

namespace {

// The settings of a first start with the files of one input filled in.
Settings ExampleSettings() {
  Settings s = FirstStartSettings();
  s.input = R"(D:\enc\clip.avs)";
  s.output = R"(D:\enc\clip.mkv)";
  s.statsfile = R"(C:\prog\stats\clip.avs.stat)";
  s.logfile = R"(C:\prog\log\clip.avs.txt)";
  return s;
}

// The heaviest job: the conditional mode (two passes and a size check) with
// audio on and "MKVMerge" onto a Matroska output (four mux lines).
void BM_ComposeConditionalJobWithAudio(benchmark::State& state) {
  Settings s = ExampleSettings();
  s.mode = EncodeMode::ConditionalDouble;
  s.aud = true;
  s.muxer = Muxer::MkvMerge;
  FakeMedia media;
  for (auto _ : state) {
    ComposedJob job = ComposeJob(s, media);
    if (job.lines.size() != 11) state.SkipWithError("a job did not have its eleven lines");
    benchmark::DoNotOptimize(job);
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel("jobs");
}
BENCHMARK(BM_ComposeConditionalJobWithAudio);

// One command line: the common options and every group of the Nth pass.
void BM_PassCommandMode5(benchmark::State& state) {
  Settings s = ExampleSettings();
  s.mode = EncodeMode::NthPass;
  FakeMedia media;
  for (auto _ : state) {
    std::string line = PassCommandBuilder(s, media);
    benchmark::DoNotOptimize(line);
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel("command lines");
}
BENCHMARK(BM_PassCommandMode5);

// The common options alone, the part every command line shares.
void BM_CommonOptions(benchmark::State& state) {
  const Settings s = ExampleSettings();
  for (auto _ : state) {
    std::string options = WriteArguments(CommonOptions(s));
    benchmark::DoNotOptimize(options);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CommonOptions);

}  // namespace

BENCHMARK_MAIN();
