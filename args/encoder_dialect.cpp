#include "args/encoder_dialect.h"

#include <algorithm>

#include "core/text_number.h"

namespace {

// Whether the help lists `option` as a switch of its own: at the start of a
// line after blanks (or after a short form and a comma), followed by a blank,
// the end of the line or, for a switch that takes a value, its placeholder.
bool Lists(std::string_view help, std::string_view option) {
  for (size_t at = help.find(option); at != std::string_view::npos;
       at = help.find(option, at + 1)) {
    const size_t end = at + option.size();
    const bool endsThere = end == help.size() || help[end] == ' ' || help[end] == '\t' ||
                           help[end] == '\r' || help[end] == '\n' || help[end] == ',';
    size_t before = at;
    while (before > 0 && (help[before - 1] == ' ' || help[before - 1] == '\t')) --before;
    const bool startsThere = before == 0 || help[before - 1] == '\n' || help[before - 1] == ',';
    if (endsThere && startsThere) return true;
  }
  return false;
}

bool Writes(const ArgList& written, std::string_view literal) {
  return std::any_of(written.begin(), written.end(),
                     [&](const Arg& a) { return a.kind == ArgKind::Literal && a.text == literal; });
}

}  // namespace

EncoderDialect DialectOfHelp(std::string_view help) {
  EncoderDialect dialect;
  dialect.current = Lists(help, "--no-progress");
  dialect.namedPyramid = dialect.current && Lists(help, "--b-pyramid <string>");
  return dialect;
}

ArgList DefaultOverrides(const Settings& s, const EncoderDialect& dialect, const ArgList& written,
                         bool firstPass) {
  if (!dialect.current) return {};
  ArgList args = {arg::Literal("--no-mbtree")};
  if (firstPass) args.push_back(arg::Literal("--slow-firstpass"));
  if (!Writes(written, "--8x8dct")) args.push_back(arg::Literal("--no-8x8dct"));
  if (!Writes(written, "--mixed-refs")) args.push_back(arg::Literal("--no-mixed-refs"));
  if (!Writes(written, "-t")) {
    args.push_back(arg::Literal("-t"));
    args.push_back(arg::Literal("0"));
  }
  if (TextToInt(s.mb) > 0) {
    if (!s.bref && dialect.namedPyramid) {
      args.push_back(arg::Literal("--b-pyramid"));
      args.push_back(arg::Literal("none"));
    }
    if (!s.bwb) args.push_back(arg::Literal("--no-weightb"));
  }
  return args;
}
