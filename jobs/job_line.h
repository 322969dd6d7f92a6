#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "jobs/job_programs.h"

// The lines of the job list: the shapes the program writes, and the one
// reading of a line into what it is. Start's steps, the check of the
// programs a batch calls, the record, the job list's view and the journal
// read lines through ReadJobLine and nothing else; a line the user edited
// is read the same way, so what still reads as a pass runs as a pass.

// The frame lines of a job, and whether a line is one.
inline constexpr std::string_view kJobStart = "@echo.";
inline constexpr std::string_view kJobEnd = "@echo+";
inline bool IsJobStart(std::string_view line) { return line.starts_with(kJobStart); }
inline bool IsJobEnd(std::string_view line) { return line.starts_with(kJobEnd); }

// What "Disable" puts before a line.
inline constexpr std::string_view kDisabledPrefix = "@rem ";

// The line "Shut" appends.
inline constexpr std::string_view kShutdownLine = "shutdown.exe -s -f -t 30";

// What the command interpreter reads before the second pass of the
// conditional mode, which runs only when the size check asked for it.
inline constexpr std::string_view kAfterSizeCheck = "@if errorlevel 1 @";

// What it reads before a clean-up that may run only after the program
// before it ended with exit code 0 in this run: "errorlevel 0" is false for
// a negative code (a crash), "not errorlevel 1" for every code above 0.
inline constexpr std::string_view kAfterSuccess = "@if errorlevel 0 if not errorlevel 1";

// The pipe that sends everything a pass prints into teelog.exe and its log.
inline constexpr std::string_view kLogPipe = "2>&1|";

// The labels of a job's information lines ("@echo Input:"D:\v\a.avs"").
enum class Info { Input, Output, Mode };
inline constexpr std::string_view kInfoLabels[] = {"Input:", "Output:", "Encode Mode:"};

enum class LineKind {
  JobStart,  // "@echo."
  JobEnd,    // "@echo+"
  Info,      // what a job works on, for the console
  Step,      // a pass, the size check, the audio encode or the mux
  CleanUp,   // deletes or renames what a step left
  Shutdown,  // shuts the computer down
  Disabled,  // "@rem " before a line
  Own,       // any other line: the user's own
};

// One command of a line: its program as the line names it and the
// arguments the interpreter hands over, quotes left out and "%%" read as
// "%".
struct LineCommand {
  std::string program;
  std::vector<std::string> arguments;
};

struct JobLine {
  LineKind kind = LineKind::Own;

  // The commands of the line in order, those a pipe or "&" joins included;
  // none for frame, disabled and label lines.
  std::vector<LineCommand> commands;

  // What the interpreter reads before the first command: "@", or "@" and
  // the line's "if" tests ("@if errorlevel 1 @").
  std::string head;

  // Step lines: the step and the row of its program.
  std::optional<Step> step;
  const JobProgram* program = nullptr;

  // A pass: the log its pipe into teelog.exe writes, as the user typed it
  // ("" for none), and the encoder's command as the line writes it, without
  // the log pipe ("x264.exe --crf 20 -o "D:\v\a.mp4" "D:\v\a.avs""). The
  // command is empty when the line redirects or chains on its own: then it
  // runs as it stands.
  std::string log;
  std::string encoderCommand;
  std::string writtenLog;  // the log as the line writes it, in its quotes

  // Information lines: which, and the text shown, as the user typed it.
  Info info = Info::Input;
  std::string value;

  // The programs the line runs besides the interpreter's own commands.
  std::vector<std::string> programs() const;
  // The file the line's program writes, as the user typed it ("" for none).
  std::string writes() const;
  // Whether the line changes nothing but the interpreter that reads it: its
  // variables, its current directory, its code page.
  bool setsUpTheInterpreter() const;
};

JobLine ReadJobLine(std::string_view line);

// The argument after the option `option` of a command ("-o" "D:\v\a.mkv"),
// or "".
std::string ArgumentAfter(const LineCommand& command, std::string_view option);

// The programs that batch lines run, as the lines name them ("x264.exe",
// "mkvmerge"), each once, in the order they first appear.
std::vector<std::string> CalledPrograms(std::span<const std::string> lines);

// A pass line as teelog.exe runs it, which judges the encode by what the
// encoder printed and tells its progress:
// "@teelog.exe --run "LOG" x264.exe ARGS" ("" as LOG for none). A pass the
// user gave a redirection of its own stays as it is.
std::string RunByTeelog(const JobLine& pass, std::string_view line);
