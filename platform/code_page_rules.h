#pragma once

// What a conversion from UTF-16 into a code page may ask of the system.
// Most code pages take WC_NO_BEST_FIT_CHARS and report through a pointer
// whether a character was missing. UTF-8 (65001), UTF-7 (65000), GB18030
// (54936), the ISO-2022 and ISCII code pages (50220-50229, 57002-57011),
// 52936 and the symbol code page 42 refuse both: the flags must be 0 (UTF-8
// and GB18030 accept WC_ERR_INVALID_CHARS alone) and the default-character
// pointers null, or the conversion fails. Those code pages have no best fit;
// whether a character survives is seen by converting back.
struct CodePageRules {
  bool takesFlags = true;         // WC_NO_BEST_FIT_CHARS and the default-character pointers
  bool rejectsInvalid = false;    // WC_ERR_INVALID_CHARS, instead of the above
  bool spellsEverything = false;  // every Unicode character has bytes in it
};

CodePageRules RulesOfCodePage(unsigned codePage);
