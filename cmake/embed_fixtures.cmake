# Writes the files FOLDER/*/*.txt into OUTPUT as a C++ header: one entry per
# file, named by its path below FOLDER, holding its bytes exactly.
file(GLOB files RELATIVE ${FOLDER} ${FOLDER}/*/*.txt)
list(SORT files)
set(entries "")
foreach(name ${files})
  file(READ ${FOLDER}/${name} hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR size "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" escaped "${hex}")
  # A literal per line of the text.
  string(REGEX REPLACE "(\\\\x0[ad])" "\\1\"\n      \"" escaped "${escaped}")
  string(APPEND entries "    {\"${name}\",\n     {\"${escaped}\",\n      ${size}}},\n")
endforeach()
file(WRITE ${OUTPUT}
"// Generated from tests/fixtures by cmake/embed_fixtures.cmake; do not edit.
#pragma once

#include <string_view>

struct RecordedMessages {
  std::string_view name;  // \"x264/finished.txt\"
  std::string_view bytes;
};

inline constexpr RecordedMessages kRecordedMessages[] = {
${entries}};

// The bytes of one file; empty when there is none of that name.
constexpr std::string_view Recorded(std::string_view name) {
  for (const RecordedMessages& messages : kRecordedMessages)
    if (messages.name == name) return messages.bytes;
  return {};
}
")
