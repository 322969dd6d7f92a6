#include "jobs/job_file_names.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

struct NamingCase {
  std::string_view input;
  std::string_view folder;
  std::string_view statsfile;
  std::string_view logfile;
  std::string_view output;
  std::string_view newInput;  // the wrapper, or the input itself for a script
  std::string_view wrapper;   // its text; empty: none
};

TEST(JobFileNames, NamesAndWrappersByInput) {
  const NamingCase cases[] = {
      // An AviSynth script, whatever the case of its extension, is used as it is.
      {R"(D:\v\clip.AVS)", R"(D:\v\)", R"(C:\prog\stats\clip.AVS.stat)",
       R"(C:\prog\log\clip.AVS.txt)", R"(D:\v\clip.mp4)", R"(D:\v\clip.AVS)", ""},
      {R"(D:\v\clip.avs)", R"(E:\out\)", R"(C:\prog\stats\clip.avs.stat)",
       R"(C:\prog\log\clip.avs.txt)", R"(E:\out\clip.mp4)", R"(D:\v\clip.avs)", ""},
      {R"(D:\v\clip.aVs)", R"(D:\v\)", R"(C:\prog\stats\clip.aVs.stat)",
       R"(C:\prog\log\clip.aVs.txt)", R"(D:\v\clip.mp4)", R"(D:\v\clip.aVs)", ""},
      // Any other source is wrapped.
      {R"(D:\v\clip.mkv)", R"(E:\out\)", R"(C:\prog\stats\clip.mkv.stat)",
       R"(C:\prog\log\clip.mkv.txt)", R"(E:\out\clip.mp4)", R"(C:\prog\avs\clip.mkv.avs)",
       "fs=\"D:\\v\\clip.mkv\"\r\nmfn=\"D:\\v\\clip\"\r\nimport(\"..\\avsinc\\P.avs\")\r\n"},
      {R"(D:\v\clip)", R"(D:\v\)", R"(C:\prog\stats\clip.stat)", R"(C:\prog\log\clip.txt)",
       R"(D:\v\clip.mp4)", R"(C:\prog\avs\clip.avs)",
       "fs=\"D:\\v\\clip\"\r\nmfn=\"D:\\v\\clip\"\r\nimport(\"..\\avsinc\\P.avs\")\r\n"},
      {R"(D:\v.1\clip)", R"(D:\v.1\)", R"(C:\prog\stats\clip.stat)", R"(C:\prog\log\clip.txt)",
       R"(D:\v.1\clip.mp4)", R"(C:\prog\avs\clip.avs)",
       "fs=\"D:\\v.1\\clip\"\r\nmfn=\"D:\\v.1\\clip\"\r\nimport(\"..\\avsinc\\P.avs\")\r\n"},
      {R"(D:\v\clip.)", R"(D:\v\)", R"(C:\prog\stats\clip..stat)", R"(C:\prog\log\clip..txt)",
       R"(D:\v\clip.mp4)", R"(C:\prog\avs\clip..avs)",
       "fs=\"D:\\v\\clip.\"\r\nmfn=\"D:\\v\\clip\"\r\nimport(\"..\\avsinc\\P.avs\")\r\n"},
      {R"(D:\v\clip.avs.mkv)", R"(D:\v\)", R"(C:\prog\stats\clip.avs.mkv.stat)",
       R"(C:\prog\log\clip.avs.mkv.txt)", R"(D:\v\clip.avs.mp4)", R"(C:\prog\avs\clip.avs.mkv.avs)",
       "fs=\"D:\\v\\clip.avs.mkv\"\r\nmfn=\"D:\\v\\clip.avs\"\r\nimport(\"..\\avsinc\\P.avs\")"
       "\r\n"},
      {R"(D:\avs)", R"(D:\)", R"(C:\prog\stats\avs.stat)", R"(C:\prog\log\avs.txt)",
       R"(D:\avs.mp4)", R"(C:\prog\avs\avs.avs)",
       "fs=\"D:\\avs\"\r\nmfn=\"D:\\avs\"\r\nimport(\"..\\avsinc\\P.avs\")\r\n"},
      {R"(D:/v/clip.avi)", R"(D:/v/)", R"(C:\prog\stats\clip.avi.stat)",
       R"(C:\prog\log\clip.avi.txt)", R"(D:/v/clip.mp4)", R"(C:\prog\avs\clip.avi.avs)",
       "fs=\"D:/v/clip.avi\"\r\nmfn=\"D:/v/clip\"\r\nimport(\"..\\avsinc\\P.avs\")\r\n"},
      // The wrapper is AviSynth, not a batch file: a "%" stays single.
      {R"(D:\100%\clip.mkv)", R"(D:\100%\)", R"(C:\prog\stats\clip.mkv.stat)",
       R"(C:\prog\log\clip.mkv.txt)", R"(D:\100%\clip.mp4)", R"(C:\prog\avs\clip.mkv.avs)",
       "fs=\"D:\\100%\\clip.mkv\"\r\nmfn=\"D:\\100%\\clip\"\r\nimport(\"..\\avsinc\\P.avs\")\r\n"},
  };
  for (const NamingCase& c : cases) {
    const JobFileNames names = DeriveJobFileNames(c.input, "P", R"(C:\prog\)", c.folder);
    EXPECT_EQ(names.statsfile, c.statsfile) << c.input;
    EXPECT_EQ(names.logfile, c.logfile) << c.input;
    EXPECT_EQ(names.output, c.output) << c.input;
    EXPECT_EQ(names.input, c.newInput) << c.input;
    EXPECT_EQ(names.wrapper.value_or(""), c.wrapper) << c.input;
  }
}

TEST(JobFileNames, WrapperScriptBytes) {
  const struct {
    std::string_view input;
    std::string_view preset;
    std::string_view bytes;
  } cases[] = {
      {R"(D:\v\clip.mkv)", "P",
       "fs=\"D:\\v\\clip.mkv\"\r\nmfn=\"D:\\v\\clip\"\r\nimport(\"..\\avsinc\\P.avs\")\r\n"},
      {R"(D:\v\clip.mkv)", "",
       "fs=\"D:\\v\\clip.mkv\"\r\nmfn=\"D:\\v\\clip\"\r\nimport(\"..\\avsinc\\.avs\")\r\n"},
      {R"(E:\my films\a.b.vob)", "Deinterlace HD",
       "fs=\"E:\\my films\\a.b.vob\"\r\nmfn=\"E:\\my films\\a.b\"\r\n"
       "import(\"..\\avsinc\\Deinterlace HD.avs\")\r\n"},
      {"", "P", "fs=\"\"\r\nmfn=\"\"\r\nimport(\"..\\avsinc\\P.avs\")\r\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WrapperScript(c.input, c.preset), c.bytes) << c.input << " / " << c.preset;
}

}  // namespace
