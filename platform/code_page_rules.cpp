#include "platform/code_page_rules.h"

CodePageRules RulesOfCodePage(unsigned codePage) {
  constexpr unsigned kUtf8 = 65001;
  constexpr unsigned kUtf7 = 65000;
  constexpr unsigned kGb18030 = 54936;
  if (codePage == kUtf8 || codePage == kGb18030) return {false, true, true};
  const bool withoutFlags = codePage == 42 || codePage == kUtf7 || codePage == 52936 ||
                            (codePage >= 50220 && codePage <= 50229) ||
                            (codePage >= 57002 && codePage <= 57011);
  if (withoutFlags) return {false, false, false};
  return {};
}
