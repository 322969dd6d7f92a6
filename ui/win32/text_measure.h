#pragma once

#include <windows.h>

#include <string_view>

// Measures lines of text in a font as a window draws them on its screen:
// holds the window's device context, with the font chosen, while it lives.
class TextMeasure {
 public:
  TextMeasure(HWND window, HFONT font);
  ~TextMeasure();
  TextMeasure(const TextMeasure&) = delete;
  TextMeasure& operator=(const TextMeasure&) = delete;

  // The width of a line in pixels; 0 when the window has no device context.
  int width(std::wstring_view line) const;

 private:
  HWND window_;
  HDC dc_;
  HGDIOBJ chosenBefore_ = nullptr;
};
