#include "platform/code_page_rules.h"

#include <gtest/gtest.h>

namespace {

// WideCharToMultiByte fails with ERROR_INVALID_PARAMETER when these code
// pages get WC_NO_BEST_FIT_CHARS or a default-character pointer; on a system
// whose code pages are UTF-8 every conversion would fail.
TEST(CodePageRules, CodePagesThatRefuseFlagsGetNone) {
  for (unsigned page : {42u, 50220u, 50221u, 50222u, 50225u, 50227u, 50229u, 52936u, 54936u, 57002u,
                        57006u, 57011u, 65000u, 65001u}) {
    const CodePageRules rules = RulesOfCodePage(page);
    EXPECT_FALSE(rules.takesFlags) << page;
    // Only UTF-8 and GB18030 take WC_ERR_INVALID_CHARS, and they spell
    // every character.
    const bool whole = page == 65001 || page == 54936;
    EXPECT_EQ(rules.rejectsInvalid, whole) << page;
    EXPECT_EQ(rules.spellsEverything, whole) << page;
  }
  for (unsigned page : {437u, 850u, 866u, 874u, 932u, 936u, 949u, 950u, 1250u, 1251u, 1252u, 1256u,
                        20127u, 28591u, 50219u, 57001u, 57012u}) {
    const CodePageRules rules = RulesOfCodePage(page);
    EXPECT_TRUE(rules.takesFlags) << page;
    EXPECT_FALSE(rules.rejectsInvalid || rules.spellsEverything) << page;
  }
}

}  // namespace
