#pragma once

#include <windows.h>

#include "platform/dialogs.h"

// The standard requesters and boxes of Windows, owned by the main window.
class Win32Dialogs final : public Dialogs {
 public:
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
  std::optional<std::string> inputLine(std::string_view title, std::string_view prompt,
                                       std::string_view initial) override;

 private:
  HWND owner_ = nullptr;
};
