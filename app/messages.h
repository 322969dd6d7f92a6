#pragma once

#include <string>
#include <string_view>

#include "core/result.h"
#include "jobs/batch_line.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "ui/window.h"

// A file that could not be written, and why: the path and the system's
// words for its last failure.
Problem WriteFailure(const FileSystem& files, const std::string& path);

// The title of the program's own messages.
inline constexpr std::string_view kMessageTitle = "quorvel";

// The program's own messages to the user, in the user's terms.
struct Messages {
  const Window& window;
  Dialogs& dialogs;
  const FileSystem& files;

  void tell(std::string_view text) const { dialogs.message(kMessageTitle, text); }
  void tell(const Problem& problem) const { tell(problem.text); }
  bool ask(std::string_view text) const { return dialogs.ask(kMessageTitle, text); }
  Dialogs::Answer choose(std::string_view text) const {
    return dialogs.choose(kMessageTitle, text);
  }

  // A file that could not be written, and why.
  void writeFailure(const std::string& path) const { tell(WriteFailure(files, path)); }

  // Why nothing was queued.
  void refusal(const Refusal& refusal) const;

  // A refusal in the user's terms: the field by its label, its text, what
  // it must be, and what enables it when it is disabled.
  std::string refusalText(const Refusal& refusal) const;
};

// A text shown in a message: at most 200 characters, cut at a character.
std::string Shortened(const std::string& text);
