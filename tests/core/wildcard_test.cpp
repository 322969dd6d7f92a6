#include "core/wildcard.h"

#include <gtest/gtest.h>

#include <string>

TEST(WildcardMatch, MatchesFileNamesLikeTheSystemDoesByLongName) {
  struct Case {
    const char* name;
    const char* pattern;
    bool matches;
  };
  const std::string longName(200, 'a');
  const Case cases[] = {
      {"fast.ini", "*.ini", true},
      {"FAST.INI", "*.ini", true},
      {"my.clip.ini", "*.ini", true},
      {"x.inibak", "*.ini", false},
      {"x.ini.bak", "*.ini", false},
      {".ini", "*.ini", true},
      {"ini", "*.ini", false},
      {"film.avs", "*.avs", true},
      {"a.avs", "?.avs", true},
      {"ab.avs", "?.avs", false},
      {"", "*", true},
      {"anything", "*", true},
      {"abc", "a*b*c", true},
      {"abdc", "a*b*c", true},
      {"abd", "a*b*c", false},
      {longName.c_str(), "*a*a*a*b", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(WildcardMatch(c.name, c.pattern), c.matches) << c.name << " ~ " << c.pattern;
}
