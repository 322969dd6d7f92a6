#include "args/analysis_options.h"

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "core/ascii.h"
#include "core/text_number.h"
#include "settings/fixed_lists.h"

namespace {

// Joins partition names with "," or gives "none" when there are none.
std::string PartitionList(std::initializer_list<std::pair<bool, std::string_view>> names) {
  std::string list;
  for (const auto& [wanted, name] : names) {
    if (!wanted) continue;
    if (!list.empty()) list += ',';
    list += name;
  }
  return list.empty() ? std::string("none") : list;
}

// The x264 name of a motion search method by the index of `ms`, and the
// name an index outside the table gives (no selection included).
struct MethodTable {
  std::array<std::string_view, 5> byIndex;
  std::string_view otherwise;
};

constexpr MethodTable kFullSearch = {{"dia", "hex", "umh", "esa", "tesa"}, "tesa"};
// The fast first passes never search wider than hexagonal.
constexpr MethodTable kFastSearch = {{"dia", "hex", "hex", "hex", "hex"}, "hex"};

ArgList MotionSearch(const Settings& s, const MethodTable& methods) {
  const std::string_view method =
      s.ms >= 0 && static_cast<std::size_t>(s.ms) < methods.byIndex.size()
          ? methods.byIndex[static_cast<std::size_t>(s.ms)]
          : methods.otherwise;
  return {arg::Literal("--me"), arg::Word(std::string(method), cid::ms), arg::Literal("--merange"),
          arg::Integer(s.range, cid::range)};
}

// The subpixel level is the index of `m` plus 1, capped at `maxLevel`. With
// no entry selected (index -1) the level reads as 0 and is written as such,
// in every variant: the cap only ever lowers a level.
ArgList Subme(const Settings& s, int maxLevel) {
  const int level = s.m + 1;
  return {arg::Literal("-m"),
          arg::Integer(IntegerText(level > maxLevel ? maxLevel : level), cid::m)};
}

}  // namespace

ArgList PartitionOptions(const Settings& s) {
  const std::string list = PartitionList({
      {s.a2, "p8x8"},
      {s.a2 && s.a4, "p4x4"},
      {s.a3, "b8x8"},
      {s.a1 && s.a5, "i8x8"},
      {s.a6, "i4x4"},
  });
  ArgList args;
  if (s.a1) args.push_back(arg::Literal("--8x8dct"));
  args.push_back(arg::Literal("-A"));
  args.push_back(arg::Word(list, cid::a2));
  return args;
}

ArgList FirstPassPartitionOptions(const Settings& s) {
  return {arg::Literal("-A"), arg::Word(PartitionList({{s.a2, "p8x8"}, {s.a6, "i4x4"}}), cid::a2)};
}

ArgList BFrameOptions(const Settings& s, const EncoderDialect& dialect) {
  ArgList args = {arg::Literal("-b"), arg::Integer(s.mb, cid::mb)};
  if (TextToInt(s.mb) <= 0) return args;

  // The selected entry in lower case; with no entry selected the word is
  // empty, and the writer refuses it rather than guessing a mode.
  args.push_back(arg::Literal("--direct"));
  args.push_back(arg::QuotedWord(AsciiLower(EntryOf(cid::dm, s.dm)), cid::dm));
  const int adapt = !s.ba ? 0 : s.bfoptimal ? 2 : 1;
  args.push_back(arg::Literal("--b-adapt"));
  args.push_back(arg::Literal(IntegerText(adapt)));
  args.push_back(arg::Literal("--b-bias"));
  args.push_back(arg::Integer(s.bias, cid::bias));
  if (s.bref) {
    args.push_back(arg::Literal("--b-pyramid"));
    if (dialect.namedPyramid) args.push_back(arg::Literal("normal"));
  }
  if (s.bwb) args.push_back(arg::Literal("-w"));
  return args;
}

ArgList MotionSearchOptions(const Settings& s) { return MotionSearch(s, kFullSearch); }

ArgList FastMotionSearchOptions(const Settings& s) { return MotionSearch(s, kFastSearch); }

ArgList SubmeOptions(const Settings& s) { return Subme(s, 9); }
ArgList SubmeCap6Options(const Settings& s) { return Subme(s, 6); }
ArgList SubmeCap3Options(const Settings& s) { return Subme(s, 3); }

ArgList ReferenceOptions(const Settings& s) {
  return {arg::Literal("-r"), arg::Integer(s.ref, cid::ref)};
}

ArgList ChromaMeOption(const Settings& s) {
  if (s.chromame) return {};
  return {arg::Literal("--no-chroma-me")};
}

ArgList EntropyOptions(const Settings& s) {
  if (!s.cab) return {arg::Literal("--no-cabac")};
  // Any index but 0 writes the switch with the selected entry; with no
  // entry selected the word is empty and refused.
  if (s.tre != 0)
    return {arg::Literal("-t"), arg::Word(std::string(EntryOf(cid::tre, s.tre)), cid::tre)};
  return {};
}

ArgList CabacOnlyOption(const Settings& s) {
  if (s.cab) return {};
  return {arg::Literal("--no-cabac")};
}

ArgList MacroblockSwitches(const Settings& s) {
  ArgList args;
  if (!s.fastpsk) args.push_back(arg::Literal("--no-fast-pskip"));
  if (!s.dctd) args.push_back(arg::Literal("--no-dct-decimate"));
  if (s.apin) args.push_back(arg::Literal("--thread-input"));
  if (s.mxref && TextToInt(s.ref) > 1) args.push_back(arg::Literal("--mixed-refs"));
  return args;
}
