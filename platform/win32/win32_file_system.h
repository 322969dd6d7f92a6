#pragma once

#include "platform/file_system.h"

class Win32FileSystem final : public FileSystem {
 public:
  Win32FileSystem();

  std::string programFolder() const override { return programFolder_; }
  bool createFolder(std::string_view path) override;
  std::optional<std::string> readFile(std::string_view path) const override;
  bool writeFile(std::string_view path, std::string_view bytes,
                 Durability durability = Durability::Flushed) override;
  bool exists(std::string_view path) const override;
  bool deleteFile(std::string_view path) override;
  std::vector<std::string> listFiles(std::string_view folder,
                                     std::string_view pattern) const override;
  std::string lastErrorText() const override;
  std::string toCodePage(std::string_view utf8) const override;
  std::string fromCodePage(std::string_view bytes) const override;

 private:
  std::string programFolder_;
  unsigned long lastError_ = 0;
};
