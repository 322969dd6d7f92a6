#pragma once

#include "platform/file_system.h"

// The ending of the temporary files the program writes a file through.
inline constexpr wchar_t kTemporaryEnding[] = L".quorvel-tmp";

// The file system of Windows. Paths of any length are taken (in the "\\?\"
// form where they are long); a file is written through a temporary file
// beside it that the system removes should the program end meanwhile.
class Win32FileSystem final : public FileSystem {
 public:
  Win32FileSystem();

  std::string programFolder() const override { return programFolder_; }
  bool createFolder(std::string_view path) override;
  std::optional<std::string> readFile(std::string_view path) const override;
  bool readPieces(std::string_view path,
                  const std::function<bool(std::string_view)>& sink) const override;
  bool writeFile(std::string_view path, std::string_view bytes,
                 Durability durability = Durability::Flushed) override;
  bool appendFile(std::string_view path, std::string_view bytes) override;
  bool exists(std::string_view path) const override;
  bool deleteFile(std::string_view path) override;
  bool removeFolder(std::string_view path) override;
  std::optional<std::string> readPart(std::string_view path, std::uint64_t offset,
                                      size_t limit) const override;
  std::optional<std::uint64_t> fileSize(std::string_view path) const override;
  std::vector<std::string> listFiles(std::string_view folder,
                                     std::string_view pattern) const override;
  std::string lastErrorText() const override;
  void removeLeftovers(std::string_view folder) override;
  std::shared_ptr<void> lock(std::string_view path) override;
  std::optional<std::string> encode(std::string_view utf8, CodePage page) const override;
  std::string toCodePage(std::string_view utf8) const override;
  std::optional<BestFit> bestFit(std::string_view utf8) const override;
  std::string fromCodePage(std::string_view bytes) const override;

 private:
  std::string programFolder_;
  unsigned long lastError_ = 0;
};
