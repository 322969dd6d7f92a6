#include "core/path_parts.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

struct PathCase {
  std::string_view path;
  std::string_view folder;
  std::string_view file;
  std::string_view extension;
  std::string_view stem;
};

// path | folder part | file part | extension | stem
constexpr PathCase kCases[] = {
    // Backslash separators.
    {R"(C:\video\clip.avi)", R"(C:\video\)", "clip.avi", "avi", R"(C:\video\clip)"},
    {R"(C:\clip.avs)", R"(C:\)", "clip.avs", "avs", R"(C:\clip)"},
    {R"(\\server\share\movie.mkv)", R"(\\server\share\)", "movie.mkv", "mkv",
     R"(\\server\share\movie)"},
    // Slash separators, and both kinds in one path.
    {"C:/video/clip.avi", "C:/video/", "clip.avi", "avi", "C:/video/clip"},
    {"/clip.mp4", "/", "clip.mp4", "mp4", "/clip"},
    {R"(C:\a/b\c.d)", R"(C:\a/b\)", "c.d", "d", R"(C:\a/b\c)"},
    {R"(C:/a\b/c.d)", R"(C:/a\b/)", "c.d", "d", R"(C:/a\b/c)"},
    // No separator at all.
    {"clip.avi", "", "clip.avi", "avi", "clip"},
    {"clip", "", "clip", "", "clip"},
    {"C:clip.avi", "", "C:clip.avi", "avi", "C:clip"},
    // A dot only in a folder name does not make an extension.
    {R"(D:\v.1\clip)", R"(D:\v.1\)", "clip", "", R"(D:\v.1\clip)"},
    {"D:/v.1/clip", "D:/v.1/", "clip", "", "D:/v.1/clip"},
    {R"(D:\v.1\clip.avs)", R"(D:\v.1\)", "clip.avs", "avs", R"(D:\v.1\clip)"},
    {"v.1/clip", "v.1/", "clip", "", "v.1/clip"},
    // A name ending in a dot has an empty extension; the stem loses the dot.
    {R"(C:\video\clip.)", R"(C:\video\)", "clip.", "", R"(C:\video\clip)"},
    {"clip.", "", "clip.", "", "clip"},
    {"clip..", "", "clip..", "", "clip."},
    // Several dots: the last one begins the extension.
    {R"(C:\video\my.clip.final.avi)", R"(C:\video\)", "my.clip.final.avi", "avi",
     R"(C:\video\my.clip.final)"},
    {"a.b.c", "", "a.b.c", "c", "a.b"},
    {R"(C:\x.y\a.b.c)", R"(C:\x.y\)", "a.b.c", "c", R"(C:\x.y\a.b)"},
    // A name that begins with a dot.
    {R"(C:\video\.avs)", R"(C:\video\)", ".avs", "avs", R"(C:\video\)"},
    {".", "", ".", "", ""},
    // Empty text and a path ending with a separator.
    {"", "", "", "", ""},
    {R"(C:\video\)", R"(C:\video\)", "", "", R"(C:\video\)"},
    {"C:/video/", "C:/video/", "", "", "C:/video/"},
    {R"(C:\v.1\)", R"(C:\v.1\)", "", "", R"(C:\v.1\)"},
    {R"(\)", R"(\)", "", "", R"(\)"},
    {"/", "/", "", "", "/"},
    // Extensions keep their case and their length.
    {R"(C:\Clip.AVS)", R"(C:\)", "Clip.AVS", "AVS", R"(C:\Clip)"},
    {R"(C:\clip.m2ts)", R"(C:\)", "clip.m2ts", "m2ts", R"(C:\clip)"},
    // Blanks are part of the names.
    {R"(C:\my videos\a clip .avi)", R"(C:\my videos\)", "a clip .avi", "avi",
     R"(C:\my videos\a clip )"},
};

TEST(PathParts, SplitsPathsIntoTheirParts) {
  for (const PathCase& c : kCases) {
    SCOPED_TRACE(std::string("path: \"") + std::string(c.path) + "\"");
    EXPECT_EQ(FolderPart(c.path), c.folder);
    EXPECT_EQ(FilePart(c.path), c.file);
    EXPECT_EQ(Extension(c.path), c.extension);
    EXPECT_EQ(Stem(c.path), c.stem);
  }
}

TEST(PathParts, FolderAndFileMakeTheWholePath) {
  for (const PathCase& c : kCases) {
    SCOPED_TRACE(std::string("path: \"") + std::string(c.path) + "\"");
    EXPECT_EQ(std::string(FolderPart(c.path)) + std::string(FilePart(c.path)), c.path);
    // The parts are views into the text that was given.
    EXPECT_EQ(FolderPart(c.path).data(), c.path.data());
    EXPECT_EQ(FilePart(c.path).data() + FilePart(c.path).size(), c.path.data() + c.path.size());
  }
}

TEST(PathParts, StemDotAndExtensionMakeTheWholePathWhenThereIsADot) {
  for (const PathCase& c : kCases) {
    SCOPED_TRACE(std::string("path: \"") + std::string(c.path) + "\"");
    const bool file_has_dot = FilePart(c.path).find('.') != std::string_view::npos;
    const std::string rebuilt =
        std::string(Stem(c.path)) + (file_has_dot ? "." : "") + std::string(Extension(c.path));
    EXPECT_EQ(rebuilt, c.path);
  }
}

// An output name is given ".mp4" when its extension is empty, so the
// extension decides which names are left alone.
TEST(PathParts, ExtensionDecidesWhetherAnOutputNameNeedsOne) {
  struct Case {
    std::string_view path;
    bool needs_extension;
  };
  const Case cases[] = {
      {R"(C:\out\movie)", true}, {R"(C:\out\movie.)", true},     {R"(C:\out.d\movie)", true},
      {"C:/out.d/movie", true},  {R"(C:\out\movie.mp4)", false}, {R"(C:\out\movie.mkv)", false},
      {"movie.x", false},
  };
  for (const Case& c : cases) EXPECT_EQ(Extension(c.path).empty(), c.needs_extension) << c.path;
}

}  // namespace
