#include "jobs/batch_line.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "ui/control_id.h"

namespace {

constexpr const char* kRefused = nullptr;

// A path of `length` characters.
std::string LongPath(size_t length) { return "C:\\" + std::string(length - 3, 'a'); }

// Each argument alone, written or refused for its kind. cmd.exe reads
// everything between double quotes literally except "%", so a path is
// quoted with "%" doubled and may hold & ^ ! ( ) and blanks; every other
// kind stands unquoted and must be well formed.
TEST(BatchLine, EachKindIsWrittenOrRefused) {
  const std::string longPath = LongPath(2048);
  const std::string longQuoted = '"' + longPath + '"';
  const std::string longPercentPath = "C:\\" + std::string(2045, '%');
  const std::string longPercentQuoted = "\"C:\\" + std::string(4090, '%') + '"';
  const std::string longWord(64, 'w');
  const struct {
    ArgKind kind;
    std::string text;
    const char* written;  // kRefused: refused, naming the argument's field
  } cases[] = {
      {ArgKind::Path, R"(D:\v\clip.mp4)", R"("D:\v\clip.mp4")"},
      {ArgKind::Path, R"(D:\my clips\a b.avs)", R"("D:\my clips\a b.avs")"},
      {ArgKind::Path, "%", R"("%%")"},
      {ArgKind::Path, "%%", R"("%%%%")"},
      {ArgKind::Path, R"(D:\50%\clip.mp4)", R"("D:\50%%\clip.mp4")"},
      {ArgKind::Path, R"(%TEMP%\clip.mp4)", R"("%%TEMP%%\clip.mp4")"},
      {ArgKind::Path, R"(D:\a%b%c%)", R"("D:\a%%b%%c%%")"},
      {ArgKind::Path, R"(D:\x^&!()\c.mp4)", R"("D:\x^&!()\c.mp4")"},
      {ArgKind::Path, "D:\\Vid\xC3\xA9o\\%.mp4", "\"D:\\Vid\xC3\xA9o\\%%.mp4\""},
      {ArgKind::Path, "D:\\\xE6\x97\xA5\xE6\x9C\xAC\\clip.avs",
       "\"D:\\\xE6\x97\xA5\xE6\x9C\xAC\\clip.avs\""},
      {ArgKind::Path, longPath, longQuoted.c_str()},
      {ArgKind::Path, longPercentPath, longPercentQuoted.c_str()},
      {ArgKind::Path, LongPath(2049), kRefused},
      {ArgKind::Path, "", kRefused},
      {ArgKind::Path, R"(D:\a"b.mp4)", kRefused},
      {ArgKind::Path, "D:\\a\r\nb.mp4", kRefused},
      {ArgKind::Path, "D:\\a\nb.mp4", kRefused},
      // No Windows file name holds these.
      {ArgKind::Path, R"(D:\a|b.mp4)", kRefused},
      {ArgKind::Path, R"(D:\a<b>.mp4)", kRefused},
      // A path that ends in a separator names a folder.
      {ArgKind::Path, R"(D:\out\)", kRefused},
      {ArgKind::Path, R"(\\host\m\\)", kRefused},
      {ArgKind::Path, "D:/out/", kRefused},

      {ArgKind::Integer, "64", "64"},
      {ArgKind::Integer, "-8", "-8"},
      {ArgKind::Integer, "2147483647", "2147483647"},
      {ArgKind::Integer, "-2147483648", "-2147483648"},
      {ArgKind::Integer, "2147483648", kRefused},
      {ArgKind::Integer, std::string(5000, '9'), kRefused},
      {ArgKind::Integer, "0 & calc.exe", kRefused},
      {ArgKind::Integer, "1|x", kRefused},
      {ArgKind::Integer, "%1", kRefused},
      {ArgKind::Integer, "1.5", kRefused},
      {ArgKind::Integer, " 64", kRefused},
      {ArgKind::Integer, "-", kRefused},
      {ArgKind::Integer, "", kRefused},
      {ArgKind::Integer, "\xD9\xA3", kRefused},

      {ArgKind::Decimal, "0.35", "0.35"},
      {ArgKind::Decimal, "-1.0", "-1.0"},
      {ArgKind::Decimal, ".5", ".5"},
      {ArgKind::Decimal, "16", "16"},
      {ArgKind::Decimal, ".", kRefused},
      {ArgKind::Decimal, "1.2.3", kRefused},
      {ArgKind::Decimal, "1,5", kRefused},
      {ArgKind::Decimal, "1e5", kRefused},
      {ArgKind::Decimal, "0.9 > x", kRefused},
      {ArgKind::Decimal, "(1)", kRefused},
      {ArgKind::Decimal, " 9.5", kRefused},
      {ArgKind::Decimal, "", kRefused},
      {ArgKind::Decimal, std::string(33, '1'), kRefused},

      {ArgKind::Word, "hex", "hex"},
      {ArgKind::Word, "p8x8,b8x8,i8x8,i4x4", "p8x8,b8x8,i8x8,i4x4"},
      {ArgKind::Word, longWord, longWord.c_str()},
      {ArgKind::Word, std::string(65, 'w'), kRefused},
      {ArgKind::Word, "esa&calc", kRefused},
      {ArgKind::Word, "a b", kRefused},
      {ArgKind::Word, "a^b", kRefused},
      {ArgKind::Word, "!x!", kRefused},
      {ArgKind::Word, "caf\xC3\xA9", kRefused},
      {ArgKind::Word, "", kRefused},

      {ArgKind::QuotedWord, "spatial", R"("spatial")"},
      {ArgKind::QuotedWord, R"(a"b)", kRefused},
      {ArgKind::QuotedWord, "a%b", kRefused},
      {ArgKind::QuotedWord, "", kRefused},

      {ArgKind::MatrixFile, "flat", "flat"},
      {ArgKind::MatrixFile, "JVT", "JVT"},
      {ArgKind::MatrixFile, R"("C:\m\q.cfg")", R"("C:\m\q.cfg")"},
      {ArgKind::MatrixFile, R"("C:\m 1\q%.cfg")", R"("C:\m 1\q%%.cfg")"},
      {ArgKind::MatrixFile, R"(C:\m\q.cfg)", R"(C:\m\q.cfg)"},
      {ArgKind::MatrixFile, R"(C:\m 1\q.cfg)", R"("C:\m 1\q.cfg")"},
      {ArgKind::MatrixFile, R"(C:\m&n\q%.cfg)", R"("C:\m&n\q%%.cfg")"},
      {ArgKind::MatrixFile, "C:\\\xE6\x97\xA5\xE6\x9C\xAC.cfg", "C:\\\xE6\x97\xA5\xE6\x9C\xAC.cfg"},
      {ArgKind::MatrixFile, R"("")", kRefused},
      {ArgKind::MatrixFile, R"("C:\a"b.cfg")", kRefused},
      {ArgKind::MatrixFile, R"("C:\q.cfg)", kRefused},
      {ArgKind::MatrixFile, "", kRefused},
      {ArgKind::MatrixFile, R"("\\host\m\")", kRefused},
      {ArgKind::MatrixFile, R"(C:\m\)", kRefused},

      {ArgKind::ImportedScript, R"(D:\v\clip.avs)", R"~("import(^D:\v\clip.avs^)")~"},
      {ArgKind::ImportedScript, R"(D:\50%\my clip (1) & x!.avs)",
       R"~("import(^D:\50%%\my clip (1) & x!.avs^)")~"},
      {ArgKind::ImportedScript, "D:\\\xE6\x97\xA5\xE6\x9C\xAC.avs",
       "\"import(^D:\\\xE6\x97\xA5\xE6\x9C\xAC.avs^)\""},
      {ArgKind::ImportedScript, R"(D:\a^b.avs)", kRefused},
      {ArgKind::ImportedScript, R"(D:\a"b.avs)", kRefused},
      {ArgKind::ImportedScript, "", kRefused},
      {ArgKind::ImportedScript, R"(D:\v\)", kRefused},

      {ArgKind::Literal, "2>&1|teelog.exe", "2>&1|teelog.exe"},
      {ArgKind::Literal, "nul", "nul"},
      {ArgKind::Literal, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("kind " + std::to_string(static_cast<int>(c.kind)) + ": " + c.text.substr(0, 60));
    const Arg argument{c.kind, c.text, cid::value, ""};
    const std::optional<Refusal> refusal = CheckArgument(argument);
    if (c.written == kRefused) {
      ASSERT_TRUE(refusal);
      EXPECT_EQ(refusal->field, cid::value);
      EXPECT_EQ(refusal->text, c.text);
      EXPECT_FALSE(refusal->expected.empty());
      EXPECT_EQ(CheckCommand({"@", {arg::Literal("x"), argument}}), refusal);
    } else {
      EXPECT_FALSE(refusal);
      EXPECT_EQ(WriteArguments({argument}), c.written);
      if (c.kind == ArgKind::Path) {
        EXPECT_EQ(QuotedPath(c.text), c.written);
      }
    }
  }
}

// cmd.exe reads at most 8191 characters of a line; a longer line is refused
// for its longest argument.
TEST(BatchLine, ALineLongerThanTheInterpreterReadsIsRefused) {
  // "@x264.exe" and four quoted paths after a blank each: 9 + 4 * 3 + 8170 = 8191.
  auto line = [](size_t first) {
    return BatchCommand{
        "@",
        {arg::Program("x264.exe", ""), arg::Path(LongPath(first), cid::input),
         arg::Path(LongPath(2040), cid::output), arg::Path(LongPath(2042), cid::statsfile),
         arg::Path(LongPath(2048), cid::logfile)}};
  };
  EXPECT_EQ(WriteCommand(line(2040)).size(), 8191u);
  EXPECT_FALSE(CheckCommand(line(2040)));
  const std::optional<Refusal> refused = CheckCommand(line(2041));
  ASSERT_TRUE(refused) << "a line of 8192 characters was written";
  EXPECT_EQ(refused->field, cid::logfile);
}

}  // namespace
