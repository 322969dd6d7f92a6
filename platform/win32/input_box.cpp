#include "platform/win32/input_box.h"

#include <cstring>
#include <vector>

namespace {

constexpr WORD kPromptId = 100;
constexpr WORD kFieldId = 101;

// Builds a dialog template in memory, DWORD-aligned as the API wants it.
class TemplateWriter {
 public:
  void word(WORD w) {
    bytes_.insert(bytes_.end(), reinterpret_cast<BYTE*>(&w), reinterpret_cast<BYTE*>(&w) + 2);
  }
  void dword(DWORD d) {
    word(LOWORD(d));
    word(HIWORD(d));
  }
  void text(const std::wstring& s) {
    for (wchar_t c : s) word(static_cast<WORD>(c));
    word(0);
  }
  void align() {
    while (bytes_.size() % 4) bytes_.push_back(0);
  }
  void item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom,
            const std::wstring& caption) {
    align();
    dword(style | WS_CHILD | WS_VISIBLE);
    dword(0);
    word(static_cast<WORD>(x));
    word(static_cast<WORD>(y));
    word(static_cast<WORD>(cx));
    word(static_cast<WORD>(cy));
    word(id);
    word(0xFFFF);
    word(atom);
    text(caption);
    word(0);
  }
  const DLGTEMPLATE* get() {
    align();
    // A buffer of DWORDs keeps the template aligned in memory.
    aligned_.assign((bytes_.size() + 3) / 4, 0);
    std::memcpy(aligned_.data(), bytes_.data(), bytes_.size());
    return reinterpret_cast<const DLGTEMPLATE*>(aligned_.data());
  }

 private:
  std::vector<BYTE> bytes_;
  std::vector<DWORD> aligned_;
};

struct BoxState {
  const std::wstring* prompt;
  const std::wstring* initial;
  std::wstring result;
};

INT_PTR CALLBACK BoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(box, DWLP_USER, lParam);
      auto* state = reinterpret_cast<BoxState*>(lParam);
      SetDlgItemTextW(box, kPromptId, state->prompt->c_str());
      SetDlgItemTextW(box, kFieldId, state->initial->c_str());
      HWND field = GetDlgItem(box, kFieldId);
      SetFocus(field);
      SendMessageW(field, EM_SETSEL, 0, -1);
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        auto* state = reinterpret_cast<BoxState*>(GetWindowLongPtrW(box, DWLP_USER));
        HWND field = GetDlgItem(box, kFieldId);
        int n = GetWindowTextLengthW(field);
        std::wstring text(static_cast<size_t>(n) + 1, L'\0');
        n = GetWindowTextW(field, text.data(), n + 1);
        text.resize(static_cast<size_t>(n));
        state->result = text;
        EndDialog(box, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(box, IDCANCEL);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

std::optional<std::wstring> ShowInputBox(HWND owner, const std::wstring& title,
                                         const std::wstring& prompt, const std::wstring& initial) {
  TemplateWriter t;
  t.dword(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  t.dword(0);
  t.word(3);  // items
  t.word(0);
  t.word(0);
  t.word(260);
  t.word(62);
  t.word(0);  // no menu
  t.word(0);  // the standard dialog class
  t.text(title);
  t.word(8);
  t.text(L"MS Shell Dlg");
  t.item(SS_LEFT | SS_NOPREFIX, 7, 7, 246, 10, kPromptId, 0x0082, L"");
  t.item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 20, 246, 13, kFieldId, 0x0081, L"");
  t.item(BS_DEFPUSHBUTTON | WS_TABSTOP, 203, 41, 50, 14, IDOK, 0x0080, L"OK");

  BoxState state{&prompt, &initial, {}};
  INT_PTR answer = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.get(), owner, BoxProcedure,
                                           reinterpret_cast<LPARAM>(&state));
  if (answer != IDOK) return std::nullopt;
  return state.result;
}
