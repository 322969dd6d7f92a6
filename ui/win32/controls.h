#pragma once

#include <windows.h>

#include <string>

// Thin wrappers of the standard controls: the handle and one small method per
// message, nothing held of their own.

struct CheckBox {
  HWND hwnd;
  bool checked() const;
  void check(bool on) const;
};

struct EditField {
  HWND hwnd;
  std::wstring text() const;
  void setText(const std::wstring& text) const;
  int length() const;
  void select(int from, int to) const;
  void limitText(int characters) const;
};

struct ComboBox {
  HWND hwnd;
  int selection() const;
  void select(int index) const;
  int count() const;
  std::wstring item(int index) const;
  void insert(int index, const std::wstring& text) const;
  void remove(int index) const;
  void clear() const;
};

struct ListBox {
  HWND hwnd;
  int selection() const;
  void select(int index) const;
  int count() const;
  std::wstring item(int index) const;
  void insert(int index, const std::wstring& text) const;
  void remove(int index) const;
  void clear() const;
  void setHorizontalExtent(int pixels) const;
};

struct TrackBar {
  HWND hwnd;
  int position() const;
  void setPosition(int position) const;
  void setRange(int lowest, int highest) const;
};

// The text a window shows (the caption of a label or button, a field's text).
std::wstring WindowText(HWND hwnd);
