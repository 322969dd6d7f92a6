#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/app.h"

// A file system in memory. Paths compare without regard to case, as on
// Windows; a file can only be written into a folder that exists.
class MemoryFileSystem final : public FileSystem {
 public:
  std::string programFolder() const override { return folder; }
  bool createFolder(std::string_view path) override;
  std::optional<std::string> readFile(std::string_view path) const override;
  bool writeFile(std::string_view path, std::string_view bytes,
                 Durability durability = Durability::Flushed) override;
  bool appendFile(std::string_view path, std::string_view bytes) override;
  bool exists(std::string_view path) const override;
  bool deleteFile(std::string_view path) override;
  bool removeFolder(std::string_view path) override;
  std::vector<std::string> listFiles(std::string_view folder,
                                     std::string_view pattern) const override;
  std::string lastErrorText() const override { return lastError; }
  // The code page of the files in memory is UTF-8 itself.
  std::string toCodePage(std::string_view utf8) const override { return std::string(utf8); }
  // The system code page spells what Latin-1 spells, the console's ASCII;
  // what is spelled is kept in UTF-8, as every file in memory is.
  std::optional<std::string> encode(std::string_view utf8, CodePage page) const override;
  std::shared_ptr<void> lock(std::string_view path) override;
  std::string fromCodePage(std::string_view bytes) const override { return std::string(bytes); }
  // The system code page takes the fullwidth quote and backslash, the
  // ideographic space and the modifier double prime for their ASCII
  // counterparts, as Windows-1252 does by best fit.
  std::optional<BestFit> bestFit(std::string_view utf8) const override;

  // Puts a file in place (creating its folder) without going through the seam.
  void put(const std::string& path, const std::string& bytes);
  bool hasFolder(const std::string& path) const;

  std::string folder = "C:\\prog\\";
  std::set<std::string> folders;            // lower-case paths
  std::set<std::string> readOnlyFolders;    // lower-case paths
  bool diskFull = false;                    // every write fails; deleting still works
  std::vector<std::string> createdFolders;  // as asked, in order
  std::map<std::string, std::pair<std::string, std::string>> files;  // lower path -> (path, bytes)
  int writes = 0;
  // Paths held by lock(), shared with every copy of this file system that
  // stands for another process.
  std::shared_ptr<std::set<std::string>> locked = std::make_shared<std::set<std::string>>();
  std::string lastError;
};

// A call made to a requester or box, as the fake dialogs record it.
struct DialogCall {
  std::string kind;  // "open", "openMany", "save", "folder", "message", "ask", "input"
  std::string title;
  std::string preset;   // preset name, start folder, box text or prompt
  std::string pattern;  // pattern or initial text
};

// Requesters and boxes that give scripted answers; an unscripted requester
// is cancelled, an unscripted question answered No.
class FakeDialogs final : public Dialogs {
 public:
  std::string openFile(std::string_view title, std::string_view presetName,
                       std::string_view pattern) override;
  std::vector<std::string> openFiles(std::string_view title, std::string_view presetName,
                                     std::string_view pattern) override;
  std::string saveFile(std::string_view title, std::string_view presetName,
                       std::string_view pattern) override;
  std::string chooseFolder(std::string_view title, std::string_view startFolder) override;
  void message(std::string_view title, std::string_view text) override;
  bool ask(std::string_view title, std::string_view text) override;
  Answer choose(std::string_view title, std::string_view text) override;
  std::optional<std::string> inputLine(std::string_view title, std::string_view prompt,
                                       std::string_view initial) override;

  std::deque<std::string> openAnswers;
  std::deque<std::vector<std::string>> openManyAnswers;
  std::deque<std::string> saveAnswers;
  std::deque<std::string> folderAnswers;
  std::deque<bool> askAnswers;
  std::deque<Answer> chooseAnswers;  // unscripted: Cancel
  std::deque<std::optional<std::string>> inputAnswers;
  std::vector<DialogCall> calls;
  // Runs while a question is open, as the window's timers and messages do.
  std::function<void()> whileAsked;
};

// Batches that start as the test says; each keeps running until the test
// removes its id from `running`, or it is ended.
class FakeProcesses final : public Processes {
 public:
  Result<std::unique_ptr<StartedBatch>> startBatch(std::string_view path,
                                                   std::string_view workingFolder,
                                                   const EnvironmentVariables& variables) override;
  std::optional<std::string> findProgram(std::string_view program, std::string_view workingFolder,
                                         Reach reach = Reach::AlongPath) const override;
  std::unique_ptr<StartedBatch> findStarted(std::string_view identity) override;

  // What the processes of all the batches do, shared by every copy that
  // stands for another window of the folder.
  struct State {
    std::set<std::uint32_t> running;  // started batches that have not ended
    std::set<std::uint32_t> held;     // started, not yet let run
    std::set<std::uint32_t> paused;
    std::set<std::uint32_t> refused;  // the system refuses to pause, resume or end them
    // Called when a held batch is let run, with its id.
    std::function<void(std::uint32_t)> onResume;
  };

  bool canStart = true;
  std::uint32_t nextId = 4242;
  std::vector<std::pair<std::string, std::string>> started;  // path, working folder
  std::vector<EnvironmentVariables> environments;            // of each started batch
  std::vector<std::uint32_t> ids;                            // of each started batch
  std::shared_ptr<State> state = std::make_shared<State>();
  std::set<std::uint32_t>& running = state->running;
  // The programs a batch finds in the program folder or its tools folder
  // (lower case), and those it finds along PATH only; every other one is
  // missing.
  std::set<std::string> alongPath;
  std::set<std::string> programs = {
      "x264.exe",       "teelog.exe",     "gaugit.exe",      "envprep.exe", "lullo.exe",
      "bepipe.exe",     "neroaacenc.exe", "enc_aacplus.exe", "faac.exe",    "mp4box.exe",
      "mp4creator.exe", "mkvmerge",       "shutdown.exe"};
};

class FakeMedia final : public MediaProbe {
 public:
  std::optional<ClipInfo> probe(std::string_view path) override;
  std::map<std::string, ClipInfo> clips;  // by path
  std::vector<std::string> probed;
};

// An encoder that is found, and answers, as the test sets it; by default
// none is found. Safe to call from the background thread that asks it.
class FakeEncoders final : public EncoderProbe {
 public:
  // An encoder outside "C:\prog\" is found along PATH only.
  std::optional<EncoderFile> find(Reach reach = Reach::AlongPath) override;
  std::optional<std::string> longHelp(const std::string& path, int timeoutMs,
                                      std::stop_token stop = {}) override;

  void set(std::optional<EncoderFile> file, std::optional<std::string> help);
  int asked() const;  // how often the help was asked for
  // While held, the encoder answers nothing until it is let go, or the one
  // asking gives up.
  void hold(bool held);

 private:
  mutable std::mutex mutex_;
  std::condition_variable_any released_;
  bool held_ = false;
  std::optional<EncoderFile> file_;
  std::optional<std::string> help_;
  int asked_ = 0;
};

// All the fakes together.
struct MemoryPlatform {
  MemoryFileSystem files;
  FakeDialogs dialogs;
  FakeProcesses processes;
  FakeMedia media;
  FakeEncoders encoders;
  Platform services() { return Platform{files, dialogs, processes, media, encoders}; }
};
