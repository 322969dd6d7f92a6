#include "args/analysis_options.h"

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "core/text_number.h"
#include "ui/control_id.h"

namespace {

bool Ticked(const Window& window, ControlId id) { return window.state(id) == 1; }

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

std::string AsciiLower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
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

OptionFragment MotionSearch(const Window& window, const MethodTable& methods) {
  const int index = window.state(cid::ms);
  const std::string_view method =
      index >= 0 && static_cast<std::size_t>(index) < methods.byIndex.size()
          ? methods.byIndex[static_cast<std::size_t>(index)]
          : methods.otherwise;
  return " --me " + std::string(method) + " --merange " + window.text(cid::range);
}

// The subpixel level is the index of `m` plus 1, capped at `maxLevel`. With
// no entry selected (index -1) the level reads as 0 and is written as such,
// in every variant: the cap only ever lowers a level.
OptionFragment Subme(const Window& window, int maxLevel) {
  const int level = window.state(cid::m) + 1;
  return " -m " + IntegerText(level > maxLevel ? maxLevel : level);
}

}  // namespace

OptionFragment PartitionOptions(const Window& window) {
  const bool transform8x8 = Ticked(window, cid::a1);
  const bool p8x8 = Ticked(window, cid::a2);
  const std::string list = PartitionList({
      {p8x8, "p8x8"},
      {p8x8 && Ticked(window, cid::a4), "p4x4"},
      {Ticked(window, cid::a3), "b8x8"},
      {transform8x8 && Ticked(window, cid::a5), "i8x8"},
      {Ticked(window, cid::a6), "i4x4"},
  });
  return std::string(transform8x8 ? " --8x8dct" : "") + " -A " + list;
}

OptionFragment FirstPassPartitionOptions(const Window& window) {
  return " -A " + PartitionList({
                      {Ticked(window, cid::a2), "p8x8"},
                      {Ticked(window, cid::a6), "i4x4"},
                  });
}

OptionFragment BFrameOptions(const Window& window) {
  const std::string frames = window.text(cid::mb);
  OptionFragment fragment = " -b " + frames;
  if (TextToInt(frames) <= 0) return fragment;

  // The selected entry as typed in lower case; no selection leaves the quotes
  // empty rather than guessing a mode.
  fragment += " --direct \"" + AsciiLower(window.text(cid::dm)) + "\"";
  const int adapt = !Ticked(window, cid::ba) ? 0 : Ticked(window, cid::bfoptimal) ? 2 : 1;
  fragment += " --b-adapt " + IntegerText(adapt);
  fragment += " --b-bias " + window.text(cid::bias);
  if (Ticked(window, cid::bref)) fragment += " --b-pyramid";
  if (Ticked(window, cid::bwb)) fragment += " -w";
  return fragment;
}

OptionFragment MotionSearchOptions(const Window& window) {
  return MotionSearch(window, kFullSearch);
}

OptionFragment FastMotionSearchOptions(const Window& window) {
  return MotionSearch(window, kFastSearch);
}

OptionFragment SubmeOptions(const Window& window) { return Subme(window, 9); }
OptionFragment SubmeCap6Options(const Window& window) { return Subme(window, 6); }
OptionFragment SubmeCap3Options(const Window& window) { return Subme(window, 3); }

OptionFragment ReferenceOptions(const Window& window) { return " -r " + window.text(cid::ref); }

OptionFragment ChromaMeOption(const Window& window) {
  return Ticked(window, cid::chromame) ? "" : " --no-chroma-me";
}

OptionFragment EntropyOptions(const Window& window) {
  if (!Ticked(window, cid::cab)) return " --no-cabac";
  // Any index but 0 writes the switch with the selected entry's text; with
  // no entry selected that text is empty, as an empty field would be.
  if (window.state(cid::tre) != 0) return " -t " + window.text(cid::tre);
  return "";
}

OptionFragment CabacOnlyOption(const Window& window) {
  return Ticked(window, cid::cab) ? "" : " --no-cabac";
}

OptionFragment MacroblockSwitches(const Window& window) {
  OptionFragment fragment;
  if (!Ticked(window, cid::fastpsk)) fragment += " --no-fast-pskip";
  if (!Ticked(window, cid::dctd)) fragment += " --no-dct-decimate";
  if (Ticked(window, cid::apin)) fragment += " --thread-input";
  if (Ticked(window, cid::mxref) && TextToInt(window.text(cid::ref)) > 1)
    fragment += " --mixed-refs";
  return fragment;
}
