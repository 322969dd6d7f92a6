#include "core/path_parts.h"

namespace {

size_t FileStart(std::string_view path) {
  size_t sep = path.find_last_of("\\/");
  return sep == std::string_view::npos ? 0 : sep + 1;
}

// Position of the dot that begins the extension, or npos.
size_t ExtensionDot(std::string_view path) {
  size_t start = FileStart(path);
  size_t dot = path.rfind('.');
  return dot == std::string_view::npos || dot < start ? std::string_view::npos : dot;
}

}  // namespace

std::string_view FolderPart(std::string_view path) { return path.substr(0, FileStart(path)); }

std::string_view FilePart(std::string_view path) { return path.substr(FileStart(path)); }

std::string_view Extension(std::string_view path) {
  size_t dot = ExtensionDot(path);
  return dot == std::string_view::npos ? std::string_view() : path.substr(dot + 1);
}

std::string_view Stem(std::string_view path) {
  size_t dot = ExtensionDot(path);
  return dot == std::string_view::npos ? path : path.substr(0, dot);
}
