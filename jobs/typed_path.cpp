#include "jobs/typed_path.h"

#include <string>

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsDriveRelative(std::string_view text) {
  return text.size() >= 2 && IsAsciiLetter(text[0]) && text[1] == ':' &&
         (text.size() == 2 || (text[2] != '\\' && text[2] != '/'));
}

}  // namespace

std::optional<Refusal> CheckTypedPath(ControlId field, std::string_view text) {
  auto refuse = [&](std::string expected) -> std::optional<Refusal> {
    return Refusal{field, std::string(text), std::move(expected)};
  };
  if (text.empty()) return std::nullopt;
  if (IsDriveRelative(text)) {
    const std::string drive(text.substr(0, 2));
    return refuse("a path with \\ after " + drive +
                  " (without it, the file lies in the folder that drive " + drive +
                  " was last in, which the batch does not choose)");
  }
  if (text.front() == '-')
    return refuse(
        "a path that does not begin with -, which programs read as one of their options (for a "
        "file of that name, write .\\" +
        std::string(text) + ")");
  if (text.back() == ' ' || text.back() == '.')
    return refuse(
        "a path that does not end in a blank or a dot (Windows drops them from a file's name, "
        "so the path would name another file)");
  return std::nullopt;
}
