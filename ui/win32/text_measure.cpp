#include "ui/win32/text_measure.h"

TextMeasure::TextMeasure(HWND window, HFONT font) : window_(window), dc_(GetDC(window)) {
  if (dc_ && font) chosenBefore_ = SelectObject(dc_, font);
}

TextMeasure::~TextMeasure() {
  if (!dc_) return;
  if (chosenBefore_) SelectObject(dc_, chosenBefore_);
  ReleaseDC(window_, dc_);
}

int TextMeasure::width(std::wstring_view line) const {
  SIZE size{};
  if (!dc_ || !GetTextExtentPoint32W(dc_, line.data(), static_cast<int>(line.size()), &size))
    return 0;
  return size.cx;
}
