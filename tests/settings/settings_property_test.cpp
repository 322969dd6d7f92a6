// Random and damaged settings files: whatever a file holds, loading it never
// crashes or hangs, leaves every checked field within its range and the
// window consistent, and saving afterwards writes the 70 key lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "settings/catalogue.h"
#include "settings/control_rules.h"
#include "settings/settings_file.h"
#include "settings/settings_values.h"
#include "settings/started_app.h"
#include "support/memory_window.h"
#include "ui/control_id.h"
#include "ui/control_table.h"

namespace {

using namespace cid;

constexpr const char* kPath = "C:\\prog\\configs\\fuzz.ini";

// The keys of a settings file in the order they are written.
// clang-format off
constexpr std::string_view kKeyOrder[] = {
    "upstat", "a1", "a2", "a3", "a4", "a5", "a6", "cab",
    "mxref", "tre", "fil", "bref", "ba", "bwb", "mode", "dm",
    "m", "ms", "aud", "ae", "apin", "muxer", "deb-a", "deb-b",
    "fastpsk", "dctd", "crelog", "sizemode", "aq", "directpm", "psnr", "ssim",
    "level", "bfoptimal", "cqm", "aub", "fa", "mb", "bias", "fb",
    "value", "range", "ref", "arx", "ary", "thr", "nr", "kfb",
    "bfr", "vbr", "minqp", "maxqp", "qps", "vbs", "vmb", "vib",
    "bv", "sct", "mingop", "maxgop", "auto1pcrf", "avsinc", "maxsize", "minsize",
    "dzinter", "dzintra", "aq1", "chromaqpoffset", "psyrd_rdo", "psyrd_tre",
};
// clang-format on
static_assert(std::size(kKeyOrder) == 70);

std::string Printable(std::string_view bytes) {
  std::string shown;
  for (unsigned char c : bytes.substr(0, 400)) {
    if (c >= 32 && c < 127) {
      shown += static_cast<char>(c);
    } else {
      static const char kHex[] = "0123456789abcdef";
      shown += "\\x";
      shown += kHex[c >> 4];
      shown += kHex[c & 15];
    }
  }
  if (bytes.size() > 400) shown += "...";
  return shown;
}

// What the window shows of every control. The bias field keeps the text a
// file gave it, which leaving the field writes anew; the bar shows its value.
std::vector<std::string> Snapshot(const Window& w) {
  std::vector<std::string> shown;
  for (const ControlSpec& row : ControlTable()) {
    if (row.id == cid::none) continue;
    const std::string text = row.id == cid::bias ? "" : w.text(row.id);
    shown.push_back(std::to_string(row.id) + ": \"" + text + "\" " +
                    std::to_string(w.state(row.id)) + (w.enabled(row.id) ? " enabled" : "") +
                    (w.visible(row.id) ? " visible" : ""));
  }
  return shown;
}

// What is wrong with the window after a load; empty when nothing is. A
// consistent window is one that no rule of the program would change: every
// field within its range, every label, state and enabled control as the
// values it depends on make it.
std::vector<std::string> Violations(const Window& loaded) {
  MemoryWindow again = static_cast<const MemoryWindow&>(loaded);
  const std::vector<std::string> before = Snapshot(again);
  for (const ControlSpec& row : ControlTable())
    for (EventKind kind : {EventKind::Clicked, EventKind::SelectionChanged, EventKind::TextChanged,
                           EventKind::FocusLost, EventKind::Scrolled})
      if (row.id != cid::none && row.id != cid::mode) ApplyControlRule(again, row.id, kind);
  const std::vector<std::string> after = Snapshot(again);
  std::vector<std::string> found;
  for (size_t i = 0; i < before.size(); ++i)
    if (before[i] != after[i]) found.push_back("a rule changes " + before[i] + " into " + after[i]);
  return found;
}

// What is wrong with a saved file; empty when nothing is.
std::vector<std::string> FileViolations(std::string_view file) {
  std::vector<std::string> found;
  size_t at = 0;
  for (std::string_view key : kKeyOrder) {
    const std::string start = std::string(key) + " = ";
    if (file.compare(at, start.size(), start) != 0) {
      found.push_back("line of " + std::string(key) + " missing at byte " + std::to_string(at));
      return found;
    }
    const size_t end = file.find("\r\n", at);
    if (end == std::string_view::npos) {
      found.push_back("line of " + std::string(key) + " without CR LF");
      return found;
    }
    const std::string_view line = file.substr(at, end - at);
    if (line.find_first_of("\r\n") != std::string_view::npos)
      found.push_back("line break inside the line of " + std::string(key));
    at = end + 2;
  }
  if (at != file.size()) found.push_back("bytes after the 70th line");
  return found;
}

// Makes random and damaged settings files from valid ones.
class FileMaker {
 public:
  explicit FileMaker(std::uint32_t seed) : rng_(seed) {}

  std::string make(const std::vector<std::string>& seeds) {
    const int kind = pick(0, 19);
    if (kind == 0) return randomBytes(pick(0, 3000));
    if (kind == 1) return randomLines();
    std::string file = seeds[pick(0, static_cast<int>(seeds.size()) - 1)];
    for (int n = pick(1, 6); n > 0; --n) mutate(file);
    return file;
  }

 private:
  int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
  bool chance(int percent) { return pick(1, 100) <= percent; }

  std::string randomBytes(int n) {
    std::string bytes;
    for (int i = 0; i < n; ++i) bytes += static_cast<char>(pick(0, 255));
    return bytes;
  }

  std::string randomKey() {
    if (chance(70)) return std::string(kKeyOrder[pick(0, 69)]);
    return randomBytes(pick(0, 8));
  }

  std::string randomValue() {
    static const char* const kOdd[] = {
        "",
        " ",
        "abc",
        "-",
        "+",
        "99999999999999999999999",
        "-99999999999999999999999",
        "9223372036854775807",
        "-9223372036854775808",
        "9223372036854775808",
        "18446744073709551616",
        "18446744073709551617",
        "2147483647",
        "2147483648",
        "-2147483649",
        "4294967296",
        "1e40",
        "-1e40",
        "1e-40",
        "1e99999",
        "nan",
        "inf",
        "-inf",
        "0x10",
        "$FF",
        "$7FFFFFFFFFFFFFFF",
        "$FFFFFFFFFFFFFFFF",
        "%101",
        "-$10",
        "-0",
        ".5",
        "-.5",
        "0.4999999",
        "1.5000001",
        "1.0000001",
        "-0.0000001",
        "custom...",
        "\"C:\\m\\q.cfg\"",
        "Deint",
        "12abc",
        "\t7\t",
    };
    switch (pick(0, 4)) {
      case 0:
        return kOdd[pick(0, std::size(kOdd) - 1)];
      case 1:
        return std::to_string(pick(-300000, 300000));
      case 2:
        return std::to_string(pick(-20, 1100));
      case 3:
        return std::to_string(pick(-3000, 3000) / 1000.0);
      default:
        return randomBytes(pick(0, 12));
    }
  }

  std::vector<std::string> split(const std::string& file) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < file.size()) {
      size_t end = file.find("\r\n", at);
      if (end == std::string::npos) end = file.size();
      lines.push_back(file.substr(at, end - at));
      at = end + 2;
    }
    return lines;
  }

  std::string join(const std::vector<std::string>& lines) {
    std::string file;
    for (const std::string& line : lines) {
      file += line;
      switch (pick(0, 5)) {
        case 0:
          file += "\n";
          break;
        case 1:
          file += "\r";
          break;
        default:
          file += "\r\n";
          break;
      }
    }
    return file;
  }

  void mutate(std::string& file) {
    std::vector<std::string> lines = split(file);
    const auto any = [&] { return static_cast<size_t>(pick(0, static_cast<int>(lines.size()))); };
    const auto some = [&] {
      return static_cast<size_t>(pick(0, static_cast<int>(lines.size()) - 1));
    };
    switch (pick(0, 11)) {
      case 0:  // random bytes somewhere
        file.insert(static_cast<size_t>(pick(0, static_cast<int>(file.size()))),
                    randomBytes(pick(1, 40)));
        return;
      case 1:  // NUL bytes somewhere
        file.insert(static_cast<size_t>(pick(0, static_cast<int>(file.size()))),
                    std::string(static_cast<size_t>(pick(1, 4)), '\0'));
        return;
      case 2:  // cut short
        file.resize(static_cast<size_t>(pick(0, static_cast<int>(file.size()))));
        return;
      case 3:  // delete a line
        if (!lines.empty()) lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(some()));
        break;
      case 4:  // duplicate a line elsewhere
        if (!lines.empty()) {
          std::string copy = lines[some()];
          lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(any()), copy);
        }
        break;
      case 5:  // random case of a key
        if (!lines.empty()) {
          std::string& line = lines[some()];
          for (size_t i = 0; i < line.size() && line[i] != '='; ++i)
            if (line[i] >= 'a' && line[i] <= 'z' && chance(50))
              line[i] = static_cast<char>(line[i] - 32);
        }
        break;
      case 6:  // a key line of its own, often of a checked field, often first
      case 7: {
        const std::string line = randomKey() + std::string(static_cast<size_t>(pick(0, 2)), ' ') +
                                 "=" + std::string(static_cast<size_t>(pick(0, 2)), ' ') +
                                 randomValue();
        lines.insert(
            chance(60) ? lines.begin() : lines.begin() + static_cast<std::ptrdiff_t>(any()), line);
        break;
      }
      case 8:  // a new value in an existing line
        if (!lines.empty()) {
          std::string& line = lines[some()];
          const size_t equals = line.find('=');
          if (equals != std::string::npos) line = line.substr(0, equals + 1) + " " + randomValue();
        }
        break;
      case 9: {  // group, comment or blank lines
        static const char* const kExtra[] = {"[x]", " [quorvel]", ";mode = 5",     "\t; c",
                                             "",    " \t",        "no equals sign"};
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(any()),
                     kExtra[pick(0, std::size(kExtra) - 1)]);
        break;
      }
      case 10:  // blanks and tabs before a line
        if (!lines.empty())
          lines[some()].insert(0, std::string(static_cast<size_t>(pick(1, 3)), '\t'));
        break;
      default:  // lines in another order
        std::shuffle(lines.begin(), lines.end(), rng_);
        break;
    }
    file = join(lines);
  }

  std::string randomLines() {
    std::vector<std::string> lines;
    for (int n = pick(0, 90); n > 0; --n) lines.push_back(randomKey() + " = " + randomValue());
    return join(lines);
  }

  std::mt19937 rng_;
};

// One started program whose window is copied for every file.
class SettingsProperty : public ::testing::Test {
 protected:
  StartedApp s{[](MemoryFileSystem& files) {
    files.put("C:\\prog\\avsinc\\Plain.avs", "");
    files.put("C:\\prog\\avsinc\\Deint.avs", "");
  }};

  // Loads `bytes` into a copy of the started window.
  MemoryWindow loaded(const std::string& bytes) {
    MemoryWindow window = s.window;
    s.platform.files.put(kPath, bytes);
    SettingsStore(window, s.platform.files).loadSettings(kPath);
    s.platform.dialogs.calls.clear();
    return window;
  }

  void expectConsistent(const std::string& bytes, const Window& window) {
    for (const std::string& v : Violations(window))
      ADD_FAILURE() << v << "\nfile: " << Printable(bytes);
    for (const std::string& v : FileViolations(SettingsFileText(window)))
      ADD_FAILURE() << v << "\nfile: " << Printable(bytes);
  }
};

TEST_F(SettingsProperty, AnyFileLoadsIntoAConsistentWindow) {
  std::vector<std::string> seeds = {std::string(kChangedFile), SettingsFileText(s.window),
                                    std::string(DefaultSettingsText())};
  {
    MemoryWindow empty = loaded("");
    seeds.push_back(SettingsFileText(empty));
  }
  FileMaker maker(20240611u);
  int failures = 0;
  for (int i = 0; i < 3000 && failures < 5; ++i) {
    SCOPED_TRACE(testing::Message() << "file " << i);
    const std::string bytes = maker.make(seeds);
    const MemoryWindow window = loaded(bytes);
    const std::vector<std::string> problems = Violations(window);
    const std::string saved = SettingsFileText(window);
    const std::vector<std::string> fileProblems = FileViolations(saved);
    // What was saved loads into the same window: saving it again gives the
    // same file.
    const MemoryWindow again = loaded(saved);
    const bool stable = SettingsFileText(again) == saved;
    if (problems.empty() && fileProblems.empty() && stable) continue;
    ++failures;
    for (const std::string& v : problems) ADD_FAILURE() << v;
    for (const std::string& v : fileProblems) ADD_FAILURE() << v;
    if (!stable) ADD_FAILURE() << "saving after a reload differs:\n" << Printable(saved);
    ADD_FAILURE() << "file: " << Printable(bytes);
  }
}

TEST_F(SettingsProperty, ASeveralMegabyteFileIsReadToItsEnd) {
  std::string bytes;
  bytes.reserve(5u << 20);
  for (int i = 0; bytes.size() < (4u << 20); ++i)
    bytes += "unknown" + std::to_string(i) + " = " + std::string(40, 'v') + "\r\n";
  bytes += "mode = 5\r\nauto1pcrf = 20\r\nkfb = 5000\r\n";
  const MemoryWindow window = loaded(bytes);
  EXPECT_EQ(window.state(mode), 5);
  EXPECT_EQ(window.text(auto1pcrf), "20");
  EXPECT_EQ(window.text(kfb), "900");
  expectConsistent("(several megabytes)", window);
}

TEST_F(SettingsProperty, ALineOfAMillionCharacters) {
  struct Case {
    std::string_view what;
    std::string bytes;
    std::vector<Shown> shown;
  };
  const std::string letters(999995, 'x');
  const std::string digits(1000000, '9');
  const Case cases[] = {
      {"text value", "nr = " + letters + "\r\nmode = 5", {Text(nr, letters), State(mode, 5)}},
      {"number value", "mode = " + digits + "\r\nref = 3", {Text(ref, "3")}},
      {"checked values",
       "kfb = " + digits + "\r\nvalue = " + digits + "\r\naq1 = " + digits,
       {Text(aq1, "1.5")}},
      {"no equals sign", std::string(1000000, 'x'), {State(mode, 0), Text(aub, "64000")}},
      {"blanks before a key", std::string(1000000, ' ') + "mode = 5", {State(mode, 5)}},
      {"blanks in a value", "psyrd_rdo = 2" + std::string(1000000, ' '), {Text(psyrd_rdo, "2")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const MemoryWindow window = loaded(c.bytes);
    ExpectShown(window, c.shown);
    expectConsistent(std::string(c.what), window);
  }
}

TEST_F(SettingsProperty, AByteOrderMarkWithoutContentLoadsAsAnEmptyFile) {
  const MemoryWindow window = loaded("\xEF\xBB\xBF");
  ExpectShown(window, kAfterEmptyFile);
  expectConsistent("BOM", window);
}

TEST_F(SettingsProperty, InvalidUtf8AfterAByteOrderMark) {
  const std::string bytes =
      "\xEF\xBB\xBFmode = 5\r\n\xC3\x28\xFF\xFE = 1\r\ncqm = \x80\x81\xC0\r\n"
      "auto1pcrf = \xED\xA0\x80\r\nref = 3\r\n";
  const MemoryWindow window = loaded(bytes);
  EXPECT_EQ(window.state(mode), 5);
  EXPECT_EQ(window.text(ref), "3");
  expectConsistent(bytes, window);
}

TEST_F(SettingsProperty, NulBytes) {
  struct Case {
    std::string bytes;
    std::vector<Shown> shown;
  };
  using namespace std::string_literals;
  using namespace std::string_view_literals;
  const Case cases[] = {
      {std::string(10000, '\0'), {State(mode, 0), Text(aub, "64000"), Text(minqp, "1")}},
      {"mode = 5\0\r\n\0\0\0ref = 3\r\nkfb = \0 950"s,
       {State(mode, 5), Text(ref, "0"), Text(kfb, "\0 950"sv)}},
      {"\0"s + std::string(kChangedFile), {State(upstat, 1), State(a1, 0), State(mode, 13)}},
      {"vib = 5\0\r\nbv = \0"s, {Text(vib, "1"), Text(bv, "10")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Printable(c.bytes));
    const MemoryWindow window = loaded(c.bytes);
    ExpectShown(window, c.shown);
    expectConsistent(c.bytes, window);
  }
}

}  // namespace
