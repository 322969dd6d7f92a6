// How fast jobs are composed on the in-memory window.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "../jobs/job_test_window.h"
#include "args/common_options.h"
#include "jobs/compose_job.h"
#include "jobs/pass_command.h"
#include "ui/control_id.h"

namespace {

// The job list is emptied after this many jobs, so memory stays bounded.
constexpr std::int64_t kJobsPerList = 1000;

// The heaviest job: the conditional mode (two passes and a size check) with
// audio on and "MKVMerge" onto a Matroska output (four mux lines).
void BM_ComposeConditionalJobWithAudio(benchmark::State& state) {
  job_test::ExampleWindow example;
  MemoryWindow& window = example.window;
  job_test::ApplyExampleAudio(window);
  window.setText(cid::muxer, "MKVMerge");
  window.setState(cid::mode, 13);

  std::int64_t jobs = 0;
  for (auto _ : state) {
    window.setText(cid::input, R"(D:\enc\clip.avs)");
    window.setText(cid::output, R"(D:\enc\clip.mkv)");
    window.setText(cid::statsfile, R"(D:\enc\clip.stats)");
    window.setText(cid::logfile, R"(D:\enc\clip.log)");
    ComposeJob(window, example.media);
    if (++jobs % kJobsPerList == 0) {
      state.PauseTiming();
      window.clearItems(cid::jobList);
      state.ResumeTiming();
    }
  }
  if (window.itemCount(cid::jobList) != (jobs % kJobsPerList) * 11)
    state.SkipWithError("a job did not have its eleven lines");
  state.SetItemsProcessed(jobs);
  state.SetLabel("jobs");
}
BENCHMARK(BM_ComposeConditionalJobWithAudio);

// One command line: the common options and every group of the Nth pass.
void BM_PassCommandMode5(benchmark::State& state) {
  job_test::ExampleWindow example;
  example.window.setState(cid::mode, 5);
  for (auto _ : state) {
    std::string line = PassCommandBuilder(example.window, example.media);
    benchmark::DoNotOptimize(line);
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel("command lines");
}
BENCHMARK(BM_PassCommandMode5);

// The common options alone, the part every command line shares.
void BM_CommonOptions(benchmark::State& state) {
  job_test::ExampleWindow example;
  for (auto _ : state) {
    std::string options = CommonOptions(example.window);
    benchmark::DoNotOptimize(options);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CommonOptions);

}  // namespace

BENCHMARK_MAIN();
