#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The record of a started batch: lines "VERB FIELDS", each verb named once
// in the table of batch_record.cpp, which the writers below and the reader
// both go by. The program writes the header when it starts the batch, and
// later the pauses and a stop it makes; each worker of the batch appends
// what it did to a record of its own (batch_files.h). A reader takes them
// all, a piece at a time, and keeps what it can read: a line of another
// shape, a job number the header did not give, a number that is none, is
// passed over.
//
//   quorvel batch
//   started 2026-12-08 14:02:33
//   workers 2                   how many interpreters run the jobs
//   job K HASH                  every job of the batch, in order
//   earlier K SIZE              job K was finished by an earlier batch
//   input K TEXT / log K PATH / result K PATH / passes K N
//   line K TEXT                 the lines of job K, in order
//   process IDENTITY            one per worker
//   after NAME                  the batch waits for the batch NAME to end
//   paused / resumed / stopped  the user paused, resumed, or stopped it now
//   begin K / pass K P / warned K STEP CODE / failed K STEP CODE /
//   done K SIZE / stop / end    appended by the workers
enum class Verb {
  Started,
  Workers,
  Job,
  Earlier,
  Input,
  Log,
  Result,
  Passes,
  Line,
  Process,
  After,
  Paused,
  Resumed,
  Stopped,
  Begin,
  Pass,
  Warned,
  Failed,
  Done,
  Stop,
  End,
};

// The word of a verb in the record.
std::string_view VerbWord(Verb verb);

// One line of the record, without its line end: the verb's word and the
// fields after it, each after one blank.
std::string RecordLine(Verb verb);
std::string RecordLine(Verb verb, std::string_view text);
std::string RecordLine(Verb verb, size_t job, std::string_view text = {});

// The first line of every record.
inline constexpr std::string_view kRecordFirstLine = "quorvel batch";

struct RecordedJob {
  std::uint64_t hash = 0;
  std::string input;    // as the user typed it
  std::string logfile;  // the log of its encodes
  std::string result;   // the file that holds its work once finished
  int passes = 0;
  std::vector<std::string> lines;  // its lines, to queue it again
  bool earlier = false;            // finished by an earlier batch
  bool begun = false;
  int pass = 0;  // the pass begun last
  bool done = false;
  std::optional<std::uint64_t> size;  // of its result when it finished
  bool warned = false;
  bool failed = false;
  std::string step;  // of the warning or the failure, as recorded ("pass1", "mux")
  std::string code;  // its exit code
};

struct BatchRecord {
  std::string started;  // "2026-12-08 14:02:33"
  int workers = 1;
  std::vector<std::string> processes;
  std::string after;
  std::vector<RecordedJob> jobs;
  bool paused = false;    // the last pause was not resumed
  bool stopped = false;   // the user stopped it at once
  bool stopSeen = false;  // a worker saw the request to stop after its job
  bool ended = false;     // the last worker ran to its last line

  // Stopped by the user, at once or after a job.
  bool stoppedByUser() const { return stopped || stopSeen; }
};

// The record's lines as the reader takes them. Bytes arrive in pieces, from
// the program's file (0) and from each worker's (1, 2, ...); each complete
// line is taken as it arrives, a line longer than any the writers write is
// passed over.
class RecordReader {
 public:
  void take(std::string_view bytes, size_t file = 0);
  // Whether the program's file began with the record's first line; until
  // then, and for any other file, nothing is read.
  bool valid() const { return state_ == State::Reading; }
  const BatchRecord& record() const { return record_; }

 private:
  void line(std::string_view text);
  enum class State { First, Reading, Other };
  struct Partial {
    std::string text;
    bool overlong = false;
  };
  State state_ = State::First;
  std::vector<Partial> partial_;
  BatchRecord record_;
};

// The whole record in one text, for the tests and the reading of a header.
std::optional<BatchRecord> ReadBatchRecord(std::string_view text);

// What the program writes when it starts a batch of the `jobs` of `lines`
// (spans of JobSpans): every job, the earlier ones marked with the size of
// their result.
struct HeaderJob {
  size_t span;                        // index among the JobSpans of the lines
  std::optional<std::uint64_t> size;  // set: finished by an earlier batch
  bool earlier = false;
};
std::string BatchRecordHeader(std::span<const std::string> lines, std::span<const HeaderJob> jobs,
                              std::string_view started, int workers,
                              std::span<const std::string> processes, std::string_view after);
