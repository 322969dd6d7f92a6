#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/catalogue.h"
#include "settings/settings_values.h"
#include "settings/started_app.h"
#include "ui/control_id.h"

namespace {

using namespace std::string_literals;
using namespace cid;

constexpr const char* kPath = "C:\\prog\\configs\\t.ini";

// A started program whose AviSynth preset list has the entries "Plain" and
// "Deint".
StartedApp WithAvsPresets() {
  return StartedApp([](MemoryFileSystem& files) {
    files.put("C:\\prog\\avsinc\\Plain.avs", "");
    files.put("C:\\prog\\avsinc\\Deint.avs", "");
  });
}

// ---------------------------------------------------------------------------
// Reading: the syntax of key lines.

struct ReadCase {
  std::string_view what;
  std::string file;
  std::string_view key;
  std::optional<std::int64_t> number;  // nothing: the key counts as absent
  std::optional<std::string> text;
};

TEST(SettingsFileReading, AcceptsTheLineSyntaxVariants) {
  const ReadCase cases[] = {
      {"CR LF line ends", "a1 = 1\r\nmode = 5\r\n", "mode", 5, "5"},
      {"LF line ends", "a1 = 1\nmode = 5\n", "mode", 5, "5"},
      {"CR line ends", "a1 = 1\rmode = 5\r", "mode", 5, "5"},
      {"LF CR is two line ends", "a1 = 1\n\rmode = 5", "mode", 5, "5"},
      {"no end after the last line", "a1 = 1\r\nmode = 5", "mode", 5, "5"},
      {"empty lines", "\r\n\r\n\n\rmode = 5\r\n\r\n", "mode", 5, "5"},
      {"leading blanks and tabs", " \t  \tmode = 5", "mode", 5, "5"},
      {"comment line", ";mode = 5\r\nmode = 3", "mode", 3, "3"},
      {"comment after blanks", "  \t; mode = 5", "mode", std::nullopt, std::nullopt},
      {"group line ends reading", "mode = 5\r\n[x]\r\nref = 3", "ref", std::nullopt, std::nullopt},
      {"keys before the group line count", "mode = 5\r\n[x]\r\nref = 3", "mode", 5, "5"},
      {"group line after blanks", "mode = 5\r\n \t[x]\r\nref = 3", "ref", std::nullopt,
       std::nullopt},
      {"first line a group line", "[quorvel]\r\nmode = 5", "mode", std::nullopt, std::nullopt},
      {"no blanks around =", "mode=5", "mode", 5, "5"},
      {"several blanks around =", "mode    =     5", "mode", 5, "5"},
      {"tabs around =", "mode\t\t=\t5", "mode", 5, "5"},
      {"blank before = only", "mode =5", "mode", 5, "5"},
      {"key in capitals", "MODE = 5", "mode", 5, "5"},
      {"key in mixed case", "MoDe = 5", "mode", 5, "5"},
      {"asked in capitals", "mode = 5", "MODE", 5, "5"},
      {"first occurrence counts", "mode = 5\r\nmode = 7", "mode", 5, "5"},
      {"first occurrence counts across case", "MODE = 5\r\nmode = 7", "mode", 5, "5"},
      {"empty value", "mode = ", "mode", 0, ""},
      {"empty value without blanks", "cqm=", "cqm", 0, ""},
      {"value of blanks only", "cqm =  \t ", "cqm", 0, ""},
      {"absent key", "mode = 5", "ref", std::nullopt, std::nullopt},
      {"empty file", "", "mode", std::nullopt, std::nullopt},
      {"leading integer", "mode = 12abc", "mode", 12, "12abc"},
      {"no leading digits", "mode = abc", "mode", 0, "abc"},
      {"negative number", "mode = -4", "mode", -4, "-4"},
      {"plus sign", "mode = +4", "mode", 4, "+4"},
      {"leading zeros", "mode = 007", "mode", 7, "007"},
      {"number ends at a blank", "mode = 1 2", "mode", 1, "1 2"},
      {"decimal value as number", "mode = 2.9", "mode", 2, "2.9"},
      {"trailing blanks and tabs of a text removed", "cqm = jvt  \t ", "cqm", 0, "jvt"},
      {"inner blanks kept", "psyrd_rdo = 1 . 0", "psyrd_rdo", 1, "1 . 0"},
      {"= inside the value", "cqm = a=b", "cqm", 0, "a=b"},
      {"quotes are part of the value", "cqm = \"C:\\m\\q.cfg\"", "cqm", 0, "\"C:\\m\\q.cfg\""},
      {"key with a dash", "DEB-A = 3", "deb-a", 3, "3"},
      {"line without = passed over", "mode 5\r\nmode = 3", "mode", 3, "3"},
      {"NUL byte in a value", "cqm = a\0b\r\n"s, "cqm", 0, "a\0b"s},
      {"NUL byte after the number", "mode = 2\0\0"s, "mode", 2, "2\0\0"s},
      {"NUL byte in a key makes another key", "mode\0 = 3"s, "mode", std::nullopt, std::nullopt},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.what);
    const SettingsFile file = SettingsFile::Parse(c.file);
    EXPECT_EQ(file.number(c.key), c.number);
    EXPECT_EQ(file.text(c.key), c.text);
  }
}

TEST(SettingsFileReading, KeepsOnlyTheSettingsOfAHugeFileWhateverThePieces) {
  std::string text;
  for (int i = 0; i < 200000; ++i) text += "unknown" + std::to_string(i) + " = some value\r\n";
  text +=
      "Mode = 3\r\n" + std::string(100000, ' ') + "value" + std::string(100000, ' ') + "= 7\r\n";
  for (size_t piece : {text.size(), size_t{1}, size_t{4096}}) {
    SettingsFile file;
    for (size_t at = 0; at < text.size(); at += piece)
      file.feed(std::string_view(text).substr(at, piece));
    file.finish();
    EXPECT_EQ(file.size(), 2u) << "pieces of " << piece;
    EXPECT_EQ(file.number("mode"), 3);
    EXPECT_EQ(file.text("value"), "7");
  }
}

// ---------------------------------------------------------------------------
// Writing.

TEST(SettingsFileWriting, WritesEveryKeyLineInCatalogueOrder) {
  StartedApp s = WithAvsPresets();
  SetShown(s.window, kChangedValues);
  ASSERT_TRUE(s.store().saveSettings(kPath));
  EXPECT_EQ(*s.platform.files.readFile(kPath), kChangedFile);
}

TEST(SettingsFileWriting, AeIsWrittenAsTwiceItsIndex) {
  for (int index : {0, 1, 2, 3, 4}) {
    StartedApp s;
    s.window.setState(ae, index);
    const std::string file = SettingsFileText(s.window);
    EXPECT_NE(file.find("\r\nae = " + std::to_string(2 * index) + "\r\n"), std::string::npos)
        << index;
  }
}

TEST(SettingsFileWriting, AnEmptyTextEndsTheLineWithTheBlank) {
  StartedApp s;
  s.window.setText(nr, "");
  s.window.setText(psyrd_tre, "");
  const std::string file = SettingsFileText(s.window);
  EXPECT_NE(file.find("\r\nnr = \r\n"), std::string::npos);
  EXPECT_TRUE(file.ends_with("\r\npsyrd_tre = \r\n"));
}

TEST(SettingsFileWriting, TheDefaultWindowGivesSeventyLinesEachEndedByCrLf) {
  StartedApp s;
  const std::string file = SettingsFileText(s.window);
  size_t lines = 0;
  for (size_t at = file.find("\r\n"); at != std::string::npos; at = file.find("\r\n", at + 2))
    ++lines;
  EXPECT_EQ(lines, 70u);
  EXPECT_TRUE(file.ends_with("\r\n"));
  EXPECT_EQ(file.find('\n'), file.find("\r\n") + 1) << "no bare LF";
  EXPECT_TRUE(file.starts_with("upstat = 1\r\na1 = 1\r\n"));
}

// ---------------------------------------------------------------------------
// The built-in defaults.

// The default set is made from the catalogue: a line for each setting that
// has one, at its line number, with its value there.
TEST(DefaultSettingsText, HoldsEachSettingsDefaultAtItsLine) {
  const std::string& text = DefaultSettingsText();
  EXPECT_FALSE(text.ends_with("\n"));
  std::vector<std::string> lines;
  for (size_t at = 0; at <= text.size();) {
    const size_t end = std::min(text.find("\r\n", at), text.size());
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  size_t withLines = 0;
  for (const SettingSpec& setting : SettingsCatalogue()) {
    if (setting.defaultLine == 0) continue;
    ++withLines;
    ASSERT_LE(static_cast<size_t>(setting.defaultLine), lines.size()) << setting.key;
    EXPECT_EQ(lines[setting.defaultLine - 1],
              std::string(setting.key) + " = " + std::string(setting.defaultIni));
  }
  EXPECT_EQ(lines.size(), withLines + 1) << "and one line no setting reads";
  const SettingsFile parsed = SettingsFile::Parse(text);
  for (const SettingSpec& setting : SettingsCatalogue())
    EXPECT_EQ(parsed.text(setting.key).has_value(), setting.defaultLine > 0) << setting.key;
}

TEST(LoadDefaults, SetsTheDefaultsAndTheMissingValuesAndLeavesNoFile) {
  StartedApp s = WithAvsPresets();
  s.load(std::string(kChangedFile));
  s.app.onEvent(loadDefault, EventKind::Clicked);
  // The avsinc key is absent from the defaults: the list keeps its entry.
  EXPECT_EQ(s.window.text(avsinc), "Deint");
  s.window.setState(avsinc, -1);
  ExpectShown(s.window, kAfterDefaults);
  EXPECT_EQ(s.window.state(biasbar), 100);
  EXPECT_EQ(s.window.text(valueLabel), "Quantizer");
  EXPECT_EQ(s.window.text(rangeLabel), "Range 0~51");
  EXPECT_FALSE(s.window.visible(sizemode));
  EXPECT_FALSE(s.window.enabled(mxref));
  EXPECT_FALSE(s.window.enabled(aub));
  for (ControlId id : {a5, a4, tre, aq1, bfoptimal, logfile, a3, bref, bwb})
    EXPECT_TRUE(s.window.enabled(id)) << id;
  EXPECT_FALSE(s.platform.files.exists("C:\\prog\\default.ini"));
  EXPECT_TRUE(s.platform.dialogs.calls.empty());
}

TEST(LoadDefaults, ReplacesAStaleLongerDefaultFile) {
  StartedApp s;
  // An older default file, longer than the built-in text, with keys after
  // its first 403 bytes.
  const std::string stale = ";" + std::string(600, 'x') +
                            "\r\ncqm = jvt\r\nvbs = 5000\r\npsnr = 1\r\nlevel = 3\r\n"
                            "auto1pcrf = 30\r\nmuxer = 2\r\n";
  s.platform.files.put("C:\\prog\\default.ini", stale);
  s.app.onEvent(loadDefault, EventKind::Clicked);
  ExpectShown(s.window, kAfterDefaults);
  EXPECT_FALSE(s.platform.files.exists("C:\\prog\\default.ini"));
}

TEST(LoadDefaults, WithoutAWritableProgramFolderStillGivesTheBuiltInSet) {
  for (bool staleFile : {false, true}) {
    SCOPED_TRACE(staleFile ? "an old default.ini is there" : "no default.ini");
    StartedApp s = WithAvsPresets();
    s.load(std::string(kChangedFile));
    // A file that cannot be replaced must not be loaded in place of the
    // built-in text.
    if (staleFile) s.platform.files.put("C:\\prog\\default.ini", "mode = 5\r\nkfb = 3\r\n");
    s.platform.files.readOnlyFolders.insert("c:\\prog");
    s.app.onEvent(loadDefault, EventKind::Clicked);
    s.window.setState(avsinc, -1);
    ExpectShown(s.window, kAfterDefaults);
    EXPECT_EQ(s.platform.files.exists("C:\\prog\\default.ini"), staleFile) << "left as it was";
  }
}

TEST(LoadSettings, AFileThatCannotBeReadGivesTheDefaults) {
  StartedApp s = WithAvsPresets();
  s.load(std::string(kChangedFile));
  s.window.setState(avsinc, -1);
  s.store().loadSettings("C:\\prog\\configs\\none.ini");
  ExpectShown(s.window, kAfterDefaults);
  EXPECT_FALSE(s.platform.files.exists("C:\\prog\\configs\\none.ini"));
}

// ---------------------------------------------------------------------------
// Save and load.

TEST(SettingsRoundTrip, SaveThenLoadRestoresEveryKeyedControl) {
  StartedApp from = WithAvsPresets();
  SetShown(from.window, kChangedValues);
  ASSERT_TRUE(from.store().saveSettings(kPath));

  StartedApp to = WithAvsPresets();
  to.load(*from.platform.files.readFile(kPath));
  ExpectShown(to.window, kChangedValues);
  EXPECT_EQ(to.window.state(biasbar), 75) << "the slider shows the loaded bias";
  EXPECT_TRUE(to.platform.dialogs.calls.empty());
  EXPECT_EQ(SettingsFileText(to.window), kChangedFile);
}

TEST(SettingsRoundTrip, ABitrateVarianceBelowTenComesBackAsTen) {
  StartedApp from = WithAvsPresets();
  SetShown(from.window, kChangedValues);
  from.type(bv, "5");
  ASSERT_EQ(from.window.text(bv), "5") << "accepted while editing";
  ASSERT_TRUE(from.store().saveSettings(kPath));

  StartedApp to = WithAvsPresets();
  to.load(*from.platform.files.readFile(kPath));
  EXPECT_EQ(to.window.text(bv), "10");
}

TEST(SaveSettings, AFailedSaveLeavesTheOldFile) {
  struct Case {
    std::string_view what;
    std::string_view readOnly;  // lower-case folder
    std::string path;
  };
  const Case cases[] = {
      {"read-only folder", "c:\\prog\\configs", "C:\\prog\\configs\\keep.ini"},
      {"missing folder", "", "C:\\prog\\gone\\keep.ini"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StartedApp s;
    const bool existed = c.readOnly.size() > 0;
    if (existed) s.platform.files.put(c.path, "old");
    if (existed) s.platform.files.readOnlyFolders.insert(std::string(c.readOnly));
    s.window.setText(value, "33");
    EXPECT_FALSE(s.store().saveSettings(c.path));
    if (existed)
      EXPECT_EQ(s.platform.files.readFile(c.path), "old");
    else
      EXPECT_FALSE(s.platform.files.exists(c.path));
    EXPECT_EQ(s.window.text(value), "33");
  }
}

TEST(SaveSettings, ReplacesAnExistingFileWhole) {
  StartedApp s;
  s.platform.files.put(kPath, std::string(5000, ';') + "\r\ncqm = jvt\r\n");
  EXPECT_TRUE(s.store().saveSettings(kPath));
  EXPECT_EQ(*s.platform.files.readFile(kPath), SettingsFileText(s.window));
}

// ---------------------------------------------------------------------------
// Loading: what the checks after a load make of the values.

struct LoadCase {
  std::string_view what;
  std::string file;
  std::vector<Shown> shown;
};

TEST(LoadSettings, CorrectsAndConvertsTheLoadedValues) {
  const LoadCase cases[] = {
      {"ae 3 selects index 2", "ae = 3", {State(ae, 2)}},
      {"ae 1", "ae = 1", {State(ae, 1)}},
      {"ae 2", "ae = 2", {State(ae, 1)}},
      {"ae 4", "ae = 4", {State(ae, 2)}},
      {"ae 8", "ae = 8", {State(ae, 4)}},
      {"ae 0", "ae = 0", {State(ae, 0)}},
      {"aq 5 selects 1", "aq = 5", {State(aq, 1)}},
      {"aq 0", "aq = 0", {State(aq, 0)}},
      {"aq -2", "aq = -2", {State(aq, 1)}},
      {"range -3", "range = -3", {Text(range, "0")}},
      {"range -5", "range = -5", {Text(range, "0")}},
      {"range 65", "range = 65", {Text(range, "64")}},
      {"range 64", "range = 64", {Text(range, "64")}},
      {"ref 20", "ref = 20", {Text(ref, "16")}},
      {"thr 9", "thr = 9", {Text(thr, "4")}},
      {"thr -1", "thr = -1", {Text(thr, "0")}},
      {"kfb 901", "kfb = 901", {Text(kfb, "900")}},
      {"kfb abc", "kfb = abc", {Text(kfb, "abc")}},
      {"bfr -1", "bfr = -1", {Text(bfr, "0")}},
      {"vbr 101", "vbr = 101", {Text(vbr, "100")}},
      {"minqp 0", "minqp = 0", {Text(minqp, "1")}},
      {"minqp abc", "minqp = abc", {Text(minqp, "1")}},
      {"maxqp 52", "maxqp = 52", {Text(maxqp, "51")}},
      {"qps 51", "qps = 51", {Text(qps, "50")}},
      {"sct 101", "sct = 101", {Text(sct, "100")}},
      {"mb 20", "mb = 20", {Text(mb, "16")}},
      {"vbs 240001", "vbs = 240001", {Text(vbs, "240000")}},
      {"vbs 240000", "vbs = 240000", {Text(vbs, "240000")}},
      {"vmb -5", "vmb = -5", {Text(vmb, "0")}},
      {"vmb large", "vmb = 123456789", {Text(vmb, "123456789")}},
      {"vib 1.5", "vib = 1.5", {Text(vib, "1")}},
      {"vib -0.1", "vib = -0.1", {Text(vib, "0")}},
      {"vib 0.9", "vib = 0.9", {Text(vib, "0.9")}},
      {"bv 5", "bv = 5", {Text(bv, "10")}},
      {"bv 0", "bv = 0", {Text(bv, "10")}},
      {"bv 10", "bv = 10", {Text(bv, "10")}},
      {"bv 1001", "bv = 1001", {Text(bv, "1000")}},
      {"aq1 3", "aq1 = 3", {Text(aq1, "1.5")}},
      {"aq1 0.1", "aq1 = 0.1", {Text(aq1, "0.5")}},
      {"aq1 1.25", "aq1 = 1.25", {Text(aq1, "1.25")}},
      {"mode 1 value 70", "mode = 1\r\nvalue = 70", {Text(value, "51")}},
      {"mode 2 value -1", "mode = 2\r\nvalue = -1", {Text(value, "0")}},
      {"mode 0 value 9000", "mode = 0\r\nvalue = 9000\r\nsizemode = 0", {Text(value, "8000")}},
      {"mode 0 value 9000 by size",
       "mode = 0\r\nvalue = 9000\r\nsizemode = 1",
       {Text(value, "9000"), Text(valueLabel, "Size in MB"), Text(rangeLabel, "")}},
      {"mode 13 by size", "mode = 13\r\nvalue = 9000\r\nsizemode = 1", {Text(value, "9000")}},
      {"mode 12 by size", "mode = 12\r\nvalue = 9000\r\nsizemode = 1", {Text(value, "51")}},
      {"no aub", "mode = 0", {Text(aub, "64000")}},
      {"empty aub", "aub = ", {Text(aub, "")}},
      {"empty number value is 0, not the missing 1",
       "upstat = \r\ncrelog =",
       {State(upstat, 0), State(crelog, 0)}},
      {"empty text value", "auto1pcrf = ", {Text(auto1pcrf, "")}},
      {"key in capitals", "AUTO1PCRF = 20\r\nMode = 2", {Text(auto1pcrf, "20"), State(mode, 2)}},
      {"number with letters", "mode = 12abc", {State(mode, 12)}},
      {"number without digits", "mode = abc\r\nupstat = x", {State(mode, 0), State(upstat, 0)}},
      {"labels follow the track bars",
       "deb-a = 10\r\nfa = 3\r\ndeb-b = 1\r\nfb = 9",
       {Text(fa, "4"), Text(fb, "-5")}},
      {"label without its track bar", "fa = 3", {State(deb_a, 6), Text(fa, "0")}},
      {"track bar beyond its range",
       "deb-a = 100\r\ndeb-b = -3",
       {State(deb_a, 12), Text(fa, "6"), State(deb_b, 0), Text(fb, "-6")}},
      {"unknown keys", "bme = 1\r\nfoo = 3\r\nmode = 5", {State(mode, 5)}},
      {"byte-order mark", "\xEF\xBB\xBFmode = 5\r\nref = 3", {State(mode, 5), Text(ref, "3")}},
      {"first line a group line",
       "[quorvel]\r\nmode = 5\r\nauto1pcrf = 20",
       {State(mode, 0), Text(auto1pcrf, "16")}},
      {"avsinc selects its entry", "avsinc = Deint", {Text(avsinc, "Deint")}},
      {"avsinc of no entry", "avsinc = deint", {Text(avsinc, "")}},
      {"trailing blanks of a text", "psyrd_rdo = 0.5 \t ", {Text(psyrd_rdo, "0.5")}},
  };
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(c.what);
    StartedApp s = WithAvsPresets();
    s.load(c.file);
    ExpectShown(s.window, c.shown);
  }
}

TEST(LoadSettings, AFileWithoutKeyLinesGivesEveryMissingValue) {
  const std::string files[] = {"",
                               "\r\n\r\n",
                               "; nothing\r\n",
                               "[quorvel]\r\nmode = 5\r\n",
                               "\xEF\xBB\xBF",
                               "junk without equals sign"};
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    StartedApp s;
    s.load(file);
    ExpectShown(s.window, kAfterEmptyFile);
  }
}

TEST(LoadSettings, FollowUpStatesOfTheLoadedValues) {
  StartedApp s = WithAvsPresets();
  s.load(
      "ref = 20\r\nmb = 1\r\naud = 1\r\ncab = 0\r\na1 = 1\r\na2 = 0\r\naq = 0\r\nba = 1\r\n"
      "crelog = 0\r\nmode = 10");
  EXPECT_TRUE(s.window.enabled(mxref)) << "ref 20 loads as 16";
  for (ControlId id : {a3, dm, biasbar, bias, ba}) EXPECT_TRUE(s.window.enabled(id)) << id;
  for (ControlId id : {bref, bwb}) EXPECT_FALSE(s.window.enabled(id)) << id;
  EXPECT_TRUE(s.window.enabled(aub));
  EXPECT_FALSE(s.window.enabled(tre));
  EXPECT_TRUE(s.window.enabled(a5));
  EXPECT_FALSE(s.window.enabled(a4));
  EXPECT_FALSE(s.window.enabled(aq1));
  EXPECT_TRUE(s.window.enabled(bfoptimal));
  EXPECT_FALSE(s.window.enabled(logfile));
  EXPECT_FALSE(s.window.enabled(logfileBrowse));
  EXPECT_TRUE(s.window.visible(auto1pcrf));
  EXPECT_TRUE(s.window.enabled(statsfile));
}

TEST(LoadSettings, SavingAfterLoadingAeThreeWritesFour) {
  StartedApp s;
  s.load("ae = 3");
  EXPECT_NE(SettingsFileText(s.window).find("\r\nae = 4\r\n"), std::string::npos);
}

struct BiasLoadCase {
  std::string file;
  int biasbar;  // it stands at 40 before the load
};

TEST(LoadSettings, TheBiasSliderShowsTheLoadedBias) {
  const BiasLoadCase cases[] = {
      {"bias = -30", 70},
      {"bias = 100", 200},
      {"bias = -100", 0},
      {"bias = 250", 200},
      {"bias = -999", 0},
      {"bias = abc", 100},
      {"mode = 0", 100},  // absent: "0"
      {"bias = 9223372036854775807", 200},
      {"bias = -9223372036854775807", 0},
  };
  for (const BiasLoadCase& c : cases) {
    SCOPED_TRACE(c.file);
    StartedApp s;
    s.window.setState(biasbar, 40);
    s.load(c.file);
    EXPECT_EQ(s.window.state(biasbar), c.biasbar);
  }
}

struct MatrixCase {
  std::string_view cqm;               // in the file
  std::optional<std::string> answer;  // nothing: the requester is not expected
  std::string_view after;
};

TEST(LoadSettings, ACustomMatrixAsksForTheMatrixFile) {
  const MatrixCase cases[] = {
      {"custom...", "C:\\m\\q.cfg", "\"C:\\m\\q.cfg\""},
      {"custom...", "", "flat"},  // cancelled
      {"custom...  ", "D:\\x y\\m.txt", "\"D:\\x y\\m.txt\""},
      {"Custom...", std::nullopt, "Custom..."},
      {"custom", std::nullopt, "custom"},
      {"jvt", std::nullopt, "jvt"},
      {"\"C:\\m\\q.cfg\"", std::nullopt, "\"C:\\m\\q.cfg\""},
  };
  for (const MatrixCase& c : cases) {
    SCOPED_TRACE(c.cqm);
    StartedApp s;
    if (c.answer) s.platform.dialogs.openAnswers.push_back(*c.answer);
    s.platform.files.put("C:\\prog\\configs\\m.ini", "cqm = " + std::string(c.cqm));
    s.window.setText(presetname, "m");
    s.app.onEvent(loadPreset, EventKind::Clicked);
    EXPECT_EQ(s.window.text(cqm), c.after);
    if (c.answer) {
      ASSERT_EQ(s.platform.dialogs.calls.size(), 1u);
      const DialogCall& call = s.platform.dialogs.calls[0];
      EXPECT_EQ(call.kind, "open");
      EXPECT_EQ(call.title, "Select a matrix file");
      EXPECT_EQ(call.preset, "");
      EXPECT_EQ(call.pattern, "*.*|*.*");
    } else {
      EXPECT_TRUE(s.platform.dialogs.calls.empty());
    }
  }
}

TEST(LoadSettings, ACustomMatrixInTheMainFileAsksOnceTheWindowIsShown) {
  StartedApp s([](MemoryFileSystem& files) {
    files.put(R"(C:\prog\quorvel.ini)", "cqm = custom...\r\nmode = 0\r\n");
  });
  EXPECT_TRUE(s.platform.dialogs.calls.empty()) << "nothing is asked before the window shows";
  s.app.onShown();
  s.app.onShown();
  ASSERT_EQ(s.platform.dialogs.calls.size(), 1u);
  EXPECT_EQ(s.platform.dialogs.calls[0].title, "Select a matrix file");
  EXPECT_EQ(s.window.text(cqm), "flat");
  EXPECT_EQ(s.window.state(mode), 0) << "the main file was loaded, not the defaults";
}

TEST(LoadSettings, LeavesTheFileAsItWas) {
  StartedApp s;
  const std::string file = "MODE=3\nref = 99\r\n; note\r\n[x]\r\nkfb = 1\r\n";
  s.load(file);
  EXPECT_EQ(s.platform.files.readFile(kPath), file);
}

}  // namespace
