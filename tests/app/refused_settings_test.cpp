// A setting whose text cannot stand in a batch line is refused when a job is
// made: one message names the field and its text, and nothing is queued.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "app_under_test.h"
#include "ui/control_table.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Everything the window shows of every control.
using ControlView = std::tuple<ControlId, std::string, int, bool, bool, std::vector<std::string>>;

std::vector<ControlView> Snapshot(const Window& w) {
  std::vector<ControlView> view;
  for (const ControlSpec& row : ControlTable()) {
    if (row.id == cid::none) continue;
    std::vector<std::string> items;
    for (int i = 0; i < w.itemCount(row.id); ++i) items.push_back(w.item(row.id, i));
    view.emplace_back(row.id, w.text(row.id), w.state(row.id), w.enabled(row.id), w.visible(row.id),
                      items);
  }
  return view;
}

// The program after the user loaded the preset "shared" with these lines,
// picked an input (which filled the other file fields), and has queued one
// job before.
struct WithSharedPreset : AppUnderTest {
  explicit WithSharedPreset(const std::string& preset) {
    platform.files.put(R"(C:\prog\configs\shared.ini)", preset);
    window.setText(cid::presetname, "shared");
    click(cid::loadPreset);
    setLines({"@echo.", "@echo+"});
    window.setText(cid::input, R"(D:\v\clip.avs)");
    window.setText(cid::output, R"(D:\v\clip.mp4)");
    window.setText(cid::statsfile, R"(C:\prog\stats\clip.avs.stat)");
    window.setText(cid::logfile, R"(C:\prog\log\clip.avs.txt)");
  }
};

struct RefusedCase {
  std::string preset;           // the settings file, beyond B-frames on and mode 0
  std::string message;          // the whole message shown
  ControlId field = cid::none;  // a file field typed into after the preset, and its text
  std::string typed = "";
};

TEST(RefusedSettings, AddShowsOneMessageQueuesNothingAndChangesNoControl) {
  const RefusedCase cases[] = {
      {"nr = 0 & calc.exe",
       R"(Nothing was queued: "Noise Reduction" holds "0 & calc.exe"; it must be a whole number.)"},
      {"range =", R"(Nothing was queued: "Range" is empty; fill in a whole number.)"},
      {"psyrd_rdo = 1.0\" & calc & \"",
       R"x(Nothing was queued: "RDO (requires subme>=6)" holds "1.0" & calc & ""; it must be a )x"
       R"x(number (digits with at most one decimal point).)x"},
      {"dm = 9",
       R"(Nothing was queued: "Direct Mode" is empty; choose one of the entries of its list.)"},
      {"cqm = \"C:\\m\\q\"&calc.cfg\"",
       R"(Nothing was queued: "Quant" holds ""C:\m\q"&calc.cfg""; it must be flat, jvt or a )"
       R"(matrix file.)"},
      // A last backslash would make the closing quote a quote in the argument.
      {"cqm = \"\\\\host\\m\\\"",
       R"(Nothing was queued: "Quant" holds ""\\host\m\""; it must be flat, jvt or a matrix file.)"},
      {"cqm = \"C:\\m\xEF\xBC\x82 --frames 1 \xEF\xBC\x82q.cfg\"",
       "Nothing was queued: \"Quant\" holds \"\"C:\\m\xEF\xBC\x82 --frames 1 "
       "\xEF\xBC\x82q.cfg\"\"; it "
       "must be a path without \xEF\xBC\x82, which programs that read their command line in the "
       "system's code page take for \"."},
      {"mode = 10\r\nauto1pcrf = 16|calc",
       R"(Nothing was queued: "CRF Value for first pass" holds "16|calc"; it must be a number )"
       R"((digits with at most one decimal point).)"},
      // gaugit.exe cannot measure against such bounds.
      {"mode = 13\r\nminsize = 120\r\nmaxsize = 110",
       R"x(Nothing was queued: "Min size(MB)" holds "120"; it must be no more than the maximum )x"
       R"x(size, 110 MB.)x"},
      {"mode = 13\r\nminsize = -5",
       R"x(Nothing was queued: "Min size(MB)" holds "-5"; it must be a size of 0 MB or more, )x"
       R"x(without a sign.)x"},
      {"aud = 1\r\nae = 8\r\naub = 64 & calc",
       R"(Nothing was queued: "Kbps" holds "64 & calc"; it must be a whole number.)"},
      // Typed paths that a program would take for an option, or Windows for
      // another file, or that lie in a folder the batch does not choose.
      {"",
       R"(Nothing was queued: "Input file" holds "-o evil.avs"; it must be a path that does not )"
       R"(begin with -, which programs read as one of their options (for a file of that name, )"
       R"(write .\-o evil.avs).)",
       cid::input, "-o evil.avs"},
      {"aud = 1",
       R"(Nothing was queued: "Output file" holds "D:\v\t b.mkv "; it must be a path that does )"
       R"(not end in a blank or a dot (Windows drops them from a file's name, so the path would )"
       R"(name another file).)",
       cid::output, "D:\\v\\t b.mkv "},
      {"muxer = 2",
       R"(Nothing was queued: "Output file" holds "C:x.mkv"; it must be a path with \ after C: )"
       R"((without it, the file lies in the folder that drive C: was last in, which the batch )"
       R"(does not choose).)",
       cid::output, "C:x.mkv"},
      {"mode = 3",
       R"(Nothing was queued: "Statsfile name" holds "D:\v\clip.stats."; it must be a path )"
       R"(that does not end in a blank or a dot (Windows drops them from a file's name, so the )"
       R"(path would name another file).)",
       cid::statsfile, "D:\\v\\clip.stats."},
      {"",
       R"x(Nothing was queued: "Logfile(empty=none)" holds "-log.txt"; it must be a path that )x"
       R"x(does not begin with -, which programs read as one of their options (for a file of )x"
       R"x(that name, write .\-log.txt).)x",
       cid::logfile, "-log.txt"},
  };
  for (const RefusedCase& c : cases) {
    WithSharedPreset t("mb = 2\r\n" + c.preset + "\r\n");
    if (c.field != cid::none) t.window.setText(c.field, c.typed);
    const std::vector<ControlView> before = Snapshot(t.window);
    t.click(cid::add);
    EXPECT_EQ(Snapshot(t.window), before) << c.preset;
    const std::vector<DialogCall> messages = t.calls("message");
    ASSERT_EQ(messages.size(), 1u) << c.preset;
    EXPECT_EQ(messages[0].preset, c.message);
  }
}

TEST(RefusedSettings, AWellFormedJobChangesOnlyTheJobListAndTheFileFields) {
  WithSharedPreset t("mb = 2\r\nmode = 13\r\naud = 1\r\nmuxer = 2");
  std::vector<ControlView> before = Snapshot(t.window);
  t.click(cid::add);
  std::vector<ControlView> after = Snapshot(t.window);
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); ++i) {
    const ControlId id = std::get<0>(after[i]);
    if (id == cid::jobList || id == cid::input || id == cid::output || id == cid::statsfile ||
        id == cid::logfile)
      continue;
    EXPECT_EQ(after[i], before[i]) << "control " << id;
  }
  EXPECT_EQ(t.lines().size(), 2u + 11) << "the earlier job, then one of eleven lines";
  EXPECT_THAT(t.calls("message"), IsEmpty());
}

TEST(RefusedSettings, BatchAddingChecksOnceBeforeAskingForAnything) {
  WithSharedPreset t("mb = 2\r\nnr = 1;calc");
  t.platform.dialogs.folderAnswers.push_back(R"(E:\out\)");
  t.platform.dialogs.openManyAnswers.push_back({R"(D:\v\a.avs)", R"(D:\v\b.avs)"});
  t.click(cid::batchAdding);
  EXPECT_THAT(t.calls("folder"), IsEmpty());
  EXPECT_THAT(t.calls("openMany"), IsEmpty());
  ASSERT_EQ(t.calls("message").size(), 1u);
  EXPECT_EQ(t.lines(), (std::vector<std::string>{"@echo.", "@echo+"}));
}

TEST(RefusedSettings, BatchAddingSkipsTheFilesTheAudioLineCannotNameAndSaysWhich) {
  WithSharedPreset t("mb = 2\r\naud = 1");
  t.platform.dialogs.folderAnswers.push_back(R"(E:\out\)");
  t.platform.dialogs.openManyAnswers.push_back({R"(D:\v\a.avs)", R"(D:\v\b^c.avs)", R"(D:\v\d.avs)",
                                                "D:\\v\\e\xEF\xBC\xBC"
                                                "f.mkv"});
  t.click(cid::batchAdding);
  // A file that is not queued leaves no wrapper script behind.
  EXPECT_FALSE(
      t.platform.files.exists("C:\\prog\\avs\\e\xEF\xBC\xBC"
                              "f.mkv.avs"));
  std::vector<std::string> inputs;
  for (const std::string& line : t.lines())
    if (line.starts_with("@echo Input:")) inputs.push_back(line);
  EXPECT_THAT(inputs, ElementsAre(R"(@echo Input:"D:\v\a.avs")", R"(@echo Input:"D:\v\d.avs")"));
  const std::vector<DialogCall> messages = t.calls("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].preset,
            "These files were not queued:\nD:\\v\\b^c.avs\nD:\\v\\e\xEF\xBC\xBC"
            "f.mkv\n\n\"Input file\" holds "
            "\"D:\\v\\b^c.avs\"; it must be a file path without ^ for the audio line (AviSynth "
            "reads ^ as a quote).");
}

}  // namespace
