#pragma once

#include <windows.h>

#include "platform/dialogs.h"

// The standard requesters and boxes of Windows, owned by the main window.
// COM, which the shell's requesters use, is started with the first of them,
// not with the program: a program that never opens one never loads it.
class Win32Dialogs final : public Dialogs {
 public:
  Win32Dialogs() = default;
  ~Win32Dialogs() override;
  Win32Dialogs(const Win32Dialogs&) = delete;
  Win32Dialogs& operator=(const Win32Dialogs&) = delete;

  void setOwner(HWND owner) { owner_ = owner; }

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

 private:
  void startCom();

  HWND owner_ = nullptr;
  bool comStarted_ = false;
};
