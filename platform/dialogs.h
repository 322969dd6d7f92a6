#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The standard requesters and boxes. A pattern is a list of description and
// filter pairs separated by "|" ("AVS(*.avs)|*.AVS|Other Media|*.*"); the
// first pair is selected when a requester opens. A cancelled requester
// returns an empty result.
class Dialogs {
 public:
  virtual ~Dialogs() = default;

  virtual std::string openFile(std::string_view title, std::string_view presetName,
                               std::string_view pattern) = 0;
  // Full paths, in the order the requester gives them.
  virtual std::vector<std::string> openFiles(std::string_view title, std::string_view presetName,
                                             std::string_view pattern) = 0;
  virtual std::string saveFile(std::string_view title, std::string_view presetName,
                               std::string_view pattern) = 0;
  // The chosen folder ends with a backslash.
  virtual std::string chooseFolder(std::string_view title, std::string_view startFolder) = 0;

  virtual void message(std::string_view title, std::string_view text) = 0;
  // Yes/No question; true for Yes.
  virtual bool ask(std::string_view title, std::string_view text) = 0;
  // Yes/No/Cancel question.
  enum class Answer { Yes, No, Cancel };
  virtual Answer choose(std::string_view title, std::string_view text) = 0;
  // One-line input box with an OK button; nothing when dismissed.
  virtual std::optional<std::string> inputLine(std::string_view title, std::string_view prompt,
                                               std::string_view initial) = 0;
};
