#include "support/memory_platform.h"

#include <algorithm>
#include <cctype>

#include "core/wildcard.h"

namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

std::string FolderOf(const std::string& path) {
  size_t sep = path.find_last_of("\\/");
  return sep == std::string::npos ? std::string() : path.substr(0, sep);
}

template <class T>
T Next(std::deque<T>& answers, T otherwise) {
  if (answers.empty()) return otherwise;
  T answer = answers.front();
  answers.pop_front();
  return answer;
}

}  // namespace

bool MemoryFileSystem::createFolder(std::string_view path) {
  createdFolders.emplace_back(path);
  std::string key = Lower(path);
  while (!key.empty() && (key.back() == '\\' || key.back() == '/')) key.pop_back();
  return folders.insert(key).second;
}

std::optional<std::string> MemoryFileSystem::readFile(std::string_view path) const {
  auto found = files.find(Lower(path));
  if (found == files.end()) return std::nullopt;
  return found->second.second;
}

bool MemoryFileSystem::writeFile(std::string_view path, std::string_view bytes, Durability) {
  std::string key = Lower(path);
  std::string folderKey = FolderOf(key);
  if (!folders.count(folderKey)) {
    lastError = "The system cannot find the path specified.";
    return false;
  }
  if (readOnlyFolders.count(folderKey)) {
    lastError = "Access is denied.";
    return false;
  }
  if (diskFull) {
    lastError = "There is not enough space on the disk.";
    return false;
  }
  ++writes;
  files[key] = {std::string(path), std::string(bytes)};
  return true;
}

bool MemoryFileSystem::appendFile(std::string_view path, std::string_view bytes) {
  const std::string key = Lower(path);
  auto found = files.find(key);
  const std::string before = found == files.end() ? std::string() : found->second.second;
  return writeFile(path, before + std::string(bytes));
}

bool MemoryFileSystem::deleteFile(std::string_view path) {
  std::string key = Lower(path);
  if (readOnlyFolders.count(FolderOf(key))) return false;
  return files.erase(key) > 0;
}

std::vector<std::string> MemoryFileSystem::listFiles(std::string_view folderPath,
                                                     std::string_view pattern) const {
  std::string key = Lower(folderPath);
  while (!key.empty() && (key.back() == '\\' || key.back() == '/')) key.pop_back();
  std::vector<std::string> names;
  for (const auto& [lower, entry] : files) {
    if (FolderOf(lower) != key) continue;
    std::string name = entry.first.substr(entry.first.find_last_of("\\/") + 1);
    if (WildcardMatch(name, pattern)) names.push_back(name);
  }
  return names;
}

void MemoryFileSystem::put(const std::string& path, const std::string& bytes) {
  folders.insert(FolderOf(Lower(path)));
  files[Lower(path)] = {path, bytes};
}

bool MemoryFileSystem::hasFolder(const std::string& path) const {
  std::string key = Lower(path);
  while (!key.empty() && (key.back() == '\\' || key.back() == '/')) key.pop_back();
  return folders.count(key) > 0;
}

bool MemoryFileSystem::exists(std::string_view path) const {
  std::string key = Lower(path);
  if (files.count(key) > 0) return true;
  while (!key.empty() && (key.back() == '\\' || key.back() == '/')) key.pop_back();
  return folders.count(key) > 0;
}

bool MemoryFileSystem::removeFolder(std::string_view path) {
  std::string key = Lower(path);
  while (!key.empty() && (key.back() == '\\' || key.back() == '/')) key.pop_back();
  if (!folders.count(key)) return false;
  std::erase_if(files, [&key](const auto& file) { return file.first.starts_with(key + "\\"); });
  std::erase_if(folders, [&key](const std::string& folder) {
    return folder == key || folder.starts_with(key + "\\");
  });
  return true;
}

std::string FakeDialogs::openFile(std::string_view title, std::string_view presetName,
                                  std::string_view pattern) {
  calls.push_back({"open", std::string(title), std::string(presetName), std::string(pattern)});
  return Next(openAnswers, std::string());
}

std::vector<std::string> FakeDialogs::openFiles(std::string_view title, std::string_view presetName,
                                                std::string_view pattern) {
  calls.push_back({"openMany", std::string(title), std::string(presetName), std::string(pattern)});
  return Next(openManyAnswers, std::vector<std::string>());
}

std::string FakeDialogs::saveFile(std::string_view title, std::string_view presetName,
                                  std::string_view pattern) {
  calls.push_back({"save", std::string(title), std::string(presetName), std::string(pattern)});
  return Next(saveAnswers, std::string());
}

std::string FakeDialogs::chooseFolder(std::string_view title, std::string_view startFolder) {
  calls.push_back({"folder", std::string(title), std::string(startFolder), ""});
  return Next(folderAnswers, std::string());
}

void FakeDialogs::message(std::string_view title, std::string_view text) {
  calls.push_back({"message", std::string(title), std::string(text), ""});
}

bool FakeDialogs::ask(std::string_view title, std::string_view text) {
  calls.push_back({"ask", std::string(title), std::string(text), ""});
  if (whileAsked) whileAsked();
  return Next(askAnswers, false);
}

Dialogs::Answer FakeDialogs::choose(std::string_view title, std::string_view text) {
  calls.push_back({"choose", std::string(title), std::string(text), ""});
  if (whileAsked) whileAsked();
  return Next(chooseAnswers, Answer::Cancel);
}

std::optional<std::string> FakeDialogs::inputLine(std::string_view title, std::string_view prompt,
                                                  std::string_view initial) {
  calls.push_back({"input", std::string(title), std::string(prompt), std::string(initial)});
  return Next(inputAnswers, std::optional<std::string>());
}

namespace {

class FakeBatch final : public StartedBatch {
 public:
  FakeBatch(std::uint32_t id, std::shared_ptr<FakeProcesses::State> state)
      : id_(id), state_(std::move(state)) {}
  bool running() const override { return state_->running.count(id_) > 0; }
  std::string identity() const override { return "fake:" + std::to_string(id_); }
  // A process the system refuses to steer stays as it is.
  bool pause() override {
    if (state_->refused.count(id_)) return false;
    state_->paused.insert(id_);
    return true;
  }
  bool resume() override {
    if (state_->refused.count(id_)) return false;
    if (state_->held.erase(id_) > 0 && state_->onResume) state_->onResume(id_);
    state_->paused.erase(id_);
    return true;
  }
  bool end() override {
    if (state_->refused.count(id_)) return false;
    state_->paused.erase(id_);
    state_->running.erase(id_);
    return true;
  }

 private:
  std::uint32_t id_;
  std::shared_ptr<FakeProcesses::State> state_;
};

}  // namespace

Result<std::unique_ptr<StartedBatch>> FakeProcesses::startBatch(
    std::string_view path, std::string_view workingFolder, const EnvironmentVariables& variables) {
  if (!canStart) return Problem{"The system cannot find the file specified."};
  started.emplace_back(std::string(path), std::string(workingFolder));
  environments.push_back(variables);
  ids.push_back(nextId);
  state->running.insert(nextId);
  state->held.insert(nextId);
  return std::unique_ptr<StartedBatch>(std::make_unique<FakeBatch>(nextId++, state));
}

std::unique_ptr<StartedBatch> FakeProcesses::findStarted(std::string_view identity) {
  for (std::uint32_t id : state->running)
    if (identity == "fake:" + std::to_string(id)) return std::make_unique<FakeBatch>(id, state);
  return nullptr;
}

std::optional<ClipInfo> FakeMedia::probe(std::string_view path) {
  probed.emplace_back(path);
  auto found = clips.find(std::string(path));
  if (found == clips.end()) return std::nullopt;
  return found->second;
}

std::optional<EncoderFile> FakeEncoders::find(Reach reach) {
  std::lock_guard lock(mutex_);
  if (reach == Reach::ProgramFolder && file_ && !file_->path.starts_with("C:\\prog\\"))
    return std::nullopt;
  return file_;
}

std::optional<std::string> FakeEncoders::longHelp(const std::string&, int, std::stop_token stop) {
  std::unique_lock lock(mutex_);
  ++asked_;
  if (!released_.wait(lock, stop, [this] { return !held_; })) return std::nullopt;
  return help_;
}

void FakeEncoders::hold(bool held) {
  {
    std::lock_guard lock(mutex_);
    held_ = held;
  }
  released_.notify_all();
}

void FakeEncoders::set(std::optional<EncoderFile> file, std::optional<std::string> help) {
  std::lock_guard lock(mutex_);
  file_ = std::move(file);
  help_ = std::move(help);
}

int FakeEncoders::asked() const {
  std::lock_guard lock(mutex_);
  return asked_;
}

std::optional<std::string> MemoryFileSystem::encode(std::string_view utf8, CodePage page) const {
  for (size_t at = 0; at < utf8.size(); ++at) {
    const auto byte = static_cast<unsigned char>(utf8[at]);
    if (byte < 0x80) continue;
    // Latin-1 is U+0080..U+00FF: the lead bytes C2 and C3.
    if (page == CodePage::Console || (byte != 0xC2 && byte != 0xC3)) return std::nullopt;
    ++at;
  }
  return std::string(utf8);
}

std::optional<BestFit> MemoryFileSystem::bestFit(std::string_view utf8) const {
  static const BestFit kFitted[] = {
      {"\xEF\xBC\x82", "\""}, {"\xEF\xBC\xBC", "\\"}, {"\xE3\x80\x80", " "}, {"\xCA\xBA", "\""}};
  for (const BestFit& fitted : kFitted)
    if (utf8.find(fitted.character) != std::string_view::npos) return fitted;
  return std::nullopt;
}

std::shared_ptr<void> MemoryFileSystem::lock(std::string_view path) {
  std::string key(path);
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (!locked->insert(key).second) return nullptr;
  return std::shared_ptr<void>(new int(0), [held = locked, key](void* token) {
    held->erase(key);
    delete static_cast<int*>(token);
  });
}

std::optional<std::string> FakeProcesses::findProgram(std::string_view program,
                                                      std::string_view workingFolder,
                                                      Reach reach) const {
  const std::string lower = Lower(program);
  if (programs.count(lower)) return std::string(workingFolder) + "tools\\" + std::string(program);
  if (reach == Reach::AlongPath && alongPath.count(lower)) return "D:\\path\\" + lower;
  return std::nullopt;
}
