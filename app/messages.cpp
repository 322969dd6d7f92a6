#include "app/messages.h"

#include "settings/catalogue.h"
#include "settings/control_rules.h"
#include "ui/control_id.h"

std::string Shortened(const std::string& text) {
  constexpr size_t kShown = 200;
  if (text.size() <= kShown) return text;
  size_t cut = kShown;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut) + "...";
}

Problem WriteFailure(const FileSystem& files, const std::string& path) {
  return Problem{"The file cannot be written:\n" + path + "\n\n" + files.lastErrorText()};
}

void Messages::refusal(const Refusal& refusal) const {
  tell("Nothing was queued: " + refusalText(refusal));
}

std::string Messages::refusalText(const Refusal& refusal) const {
  const std::string label = refusal.field == cid::none ? std::string("A line of the job")
                                                       : FieldLabel(window, refusal.field);
  const std::string& expected = refusal.expected;
  std::string text = "\"" + label + "\" ";
  if (refusal.text.empty()) {
    const bool list = expected.starts_with("one of the entries");
    text += "is empty; " + std::string(list ? "choose " : "fill in ") + expected + ".";
  } else {
    text += "holds \"" + Shortened(refusal.text) + "\"; it must be " + expected + ".";
  }
  // A field the user cannot change now: say what lets them.
  if (refusal.field != cid::none && !window.enabled(refusal.field)) {
    const ControlId by = EnablingControl(refusal.field);
    if (by == cid::mode)
      text += " The encode mode \"" + window.text(cid::mode) + "\" disables it.";
    else if (by != cid::none)
      text += " \"" + FieldLabel(window, by) + "\" enables it.";
  }
  return text;
}
