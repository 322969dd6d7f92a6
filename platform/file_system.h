#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the program asks of the file system. Paths are Windows paths in
// UTF-8; file contents are raw bytes.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The folder of the program's own executable, ending with a backslash.
  virtual std::string programFolder() const = 0;

  // Creates one folder; false when it exists already or cannot be created.
  virtual bool createFolder(std::string_view path) = 0;

  // The whole content of a file, or nothing when it cannot be read.
  virtual std::optional<std::string> readFile(std::string_view path) const = 0;

  // Creates or replaces a file with `bytes`; false when it cannot be written.
  virtual bool writeFile(std::string_view path, std::string_view bytes) = 0;

  virtual bool deleteFile(std::string_view path) = 0;

  // Names (without folder) of the files in `folder` that match `pattern`
  // ("*.ini"), in the order the system lists them; folders are skipped.
  virtual std::vector<std::string> listFiles(std::string_view folder,
                                             std::string_view pattern) const = 0;
};
