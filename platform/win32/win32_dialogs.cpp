#include "platform/win32/win32_dialogs.h"

#include <cderr.h>
#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/com_ref.h"
#include "platform/win32/input_box.h"
#include "platform/win32/wide_text.h"

namespace {

// "Text|*.ext|Other|*.*" as the double-NUL-terminated list the requesters take.
std::wstring FilterList(std::string_view pattern) {
  std::wstring filter = Widen(pattern);
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  return filter;
}

struct FileRequest {
  std::wstring title;
  std::wstring filter;
  std::vector<wchar_t> buffer;
  OPENFILENAMEW request{};

  FileRequest(HWND owner, std::string_view titleText, std::string_view presetName,
              std::string_view pattern, size_t capacity)
      : title(Widen(titleText)), filter(FilterList(pattern)), buffer(capacity, L'\0') {
    std::wstring preset = Widen(presetName);
    if (preset.size() < capacity) std::copy(preset.begin(), preset.end(), buffer.begin());
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFilter = filter.c_str();
    request.nFilterIndex = 1;
    request.lpstrFile = buffer.data();
    request.nMaxFile = static_cast<DWORD>(buffer.size());
    request.lpstrTitle = title.empty() ? nullptr : title.c_str();
    request.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  }
};

// The open-file requester changes the current directory whatever its flags
// say; the program's bare file names ("quorvel.ini") rely on it staying.
class CurrentFolderKept {
 public:
  CurrentFolderKept() {
    DWORD n = GetCurrentDirectoryW(0, nullptr);
    folder_.resize(n);
    folder_.resize(GetCurrentDirectoryW(n, folder_.data()));
  }
  ~CurrentFolderKept() {
    if (!folder_.empty()) SetCurrentDirectoryW(folder_.c_str());
  }
  CurrentFolderKept(const CurrentFolderKept&) = delete;
  CurrentFolderKept& operator=(const CurrentFolderKept&) = delete;

 private:
  std::wstring folder_;
};

// Runs a requester; a preset name Windows refuses as a file name opens the
// requester without one instead of failing unseen.
BOOL Request(FileRequest& file, BOOL(WINAPI* show)(OPENFILENAMEW*)) {
  CurrentFolderKept kept;
  if (show(&file.request)) return TRUE;
  if (CommDlgExtendedError() != FNERR_INVALIDFILENAME) return FALSE;
  std::fill(file.buffer.begin(), file.buffer.end(), L'\0');
  return show(&file.request);
}

// What the folder browser is to show when it opens.
struct FolderStart {
  std::wstring caption;
  std::wstring folder;  // without a closing backslash; empty: the browser's own start
};

// Selects the start folder, then gives the browser its caption, so that
// the requester is named only once it shows its folder.
int CALLBACK StartInFolder(HWND dialog, UINT message, LPARAM, LPARAM data) {
  if (message != BFFM_INITIALIZED) return 0;
  const auto& start = *reinterpret_cast<const FolderStart*>(data);
  if (!start.folder.empty())
    SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(start.folder.c_str()));
  SetWindowTextW(dialog, start.caption.c_str());
  return 0;
}

// The file-system path of a shell item; nothing for an item that has none.
std::optional<std::wstring> PathOf(IShellItem* item) {
  wchar_t* path = nullptr;
  if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) return std::nullopt;
  std::wstring text(path);
  CoTaskMemFree(path);
  return text;
}

// Keeps the picker's name field on the folder it shows, as a full path, so
// that OK with nothing else chosen gives that folder: Windows' picker does so
// by itself, Wine's takes only what the field names.
class FolderInNameField final : public IFileDialogEvents {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
    if (id == IID_IUnknown || id == IID_IFileDialogEvents) {
      *out = static_cast<IFileDialogEvents*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // Lives on the stack of the picker's caller, for as long as the picker.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE OnFolderChange(IFileDialog* dialog) override {
    ComRef<IShellItem> folder;
    if (FAILED(dialog->GetFolder(folder.put()))) return S_OK;
    if (const std::optional<std::wstring> path = PathOf(folder.get()))
      dialog->SetFileName(path->c_str());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnFileOk(IFileDialog*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnFolderChanging(IFileDialog*, IShellItem*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnSelectionChange(IFileDialog*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShareViolation(IFileDialog*, IShellItem*,
                                             FDE_SHAREVIOLATION_RESPONSE*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE OnTypeChange(IFileDialog*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnOverwrite(IFileDialog*, IShellItem*,
                                        FDE_OVERWRITE_RESPONSE*) override {
    return E_NOTIMPL;
  }
};

// The folder picker of today's Windows, opened in `start` by its shell item:
// it finds the folder wherever it lies, below hidden folders too, where the
// older browser, which selects along its tree of shown folders, starts at the
// desktop. Nothing when it is not there; an empty text when cancelled.
std::optional<std::string> PickFolder(HWND owner, const std::wstring& title,
                                      const std::wstring& start) {
  ComRef<IFileOpenDialog> dialog;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IFileOpenDialog, dialog.putVoid())))
    return std::nullopt;
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR);
  dialog->SetTitle(title.c_str());
  ComRef<IShellItem> folder;
  if (!start.empty() && SUCCEEDED(SHCreateItemFromParsingName(start.c_str(), nullptr,
                                                              IID_IShellItem, folder.putVoid()))) {
    dialog->SetFolder(folder.get());
    dialog->SetFileName(start.c_str());
  }
  FolderInNameField follower;
  DWORD cookie = 0;
  const bool following = SUCCEEDED(dialog->Advise(&follower, &cookie));
  HRESULT shown = E_FAIL;
  {
    CurrentFolderKept kept;
    shown = dialog->Show(owner);
  }
  if (following) dialog->Unadvise(cookie);
  if (FAILED(shown)) return std::string();
  ComRef<IShellItem> chosen;
  if (FAILED(dialog->GetResult(chosen.put()))) return std::string();
  const std::optional<std::wstring> path = PathOf(chosen.get());
  return path ? Narrow(*path) : std::string();
}

// The older folder browser, for a system without the picker.
std::string BrowseForFolder(HWND owner, FolderStart start) {
  // The shell looks at the folder once before the browser opens: under Wine
  // the first look at a drive in a process comes too late for the browser.
  PIDLIST_ABSOLUTE warm = nullptr;
  if (!start.folder.empty() &&
      SUCCEEDED(SHParseDisplayName(start.folder.c_str(), nullptr, &warm, 0, nullptr)))
    CoTaskMemFree(warm);
  wchar_t display[MAX_PATH] = {};
  BROWSEINFOW browse{};
  browse.hwndOwner = owner;
  browse.pszDisplayName = display;
  browse.lpszTitle = start.caption.c_str();
  browse.ulFlags = BIF_RETURNONLYFSDIRS;
  browse.lpfn = StartInFolder;
  browse.lParam = reinterpret_cast<LPARAM>(&start);
  PIDLIST_ABSOLUTE chosen = nullptr;
  {
    CurrentFolderKept kept;
    chosen = SHBrowseForFolderW(&browse);
  }
  if (!chosen) return {};
  std::vector<wchar_t> path(32768, L'\0');
  BOOL ok =
      SHGetPathFromIDListEx(chosen, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT);
  CoTaskMemFree(chosen);
  return ok ? Narrow(path.data()) : std::string();
}

}  // namespace

Win32Dialogs::~Win32Dialogs() {
  if (comStarted_) CoUninitialize();
}

void Win32Dialogs::startCom() {
  if (!comStarted_) comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

std::string Win32Dialogs::openFile(std::string_view title, std::string_view presetName,
                                   std::string_view pattern) {
  startCom();
  FileRequest file(owner_, title, presetName, pattern, 32768);
  if (!Request(file, GetOpenFileNameW)) return {};
  return Narrow(file.buffer.data());
}

std::vector<std::string> Win32Dialogs::openFiles(std::string_view title,
                                                 std::string_view presetName,
                                                 std::string_view pattern) {
  startCom();
  // Room for thousands of names.
  FileRequest file(owner_, title, presetName, pattern, 1 << 20);
  file.request.Flags |= OFN_ALLOWMULTISELECT;
  std::vector<std::string> paths;
  if (!Request(file, GetOpenFileNameW)) return paths;
  // One name: the full path. Several: the folder, then each name.
  const wchar_t* p = file.buffer.data();
  std::wstring first = p;
  p += first.size() + 1;
  if (*p == L'\0') {
    paths.push_back(Narrow(first));
    return paths;
  }
  if (!first.empty() && first.back() != L'\\') first += L'\\';
  while (*p) {
    std::wstring name = p;
    paths.push_back(Narrow(first + name));
    p += name.size() + 1;
  }
  return paths;
}

std::string Win32Dialogs::saveFile(std::string_view title, std::string_view presetName,
                                   std::string_view pattern) {
  startCom();
  FileRequest file(owner_, title, presetName, pattern, 32768);
  if (!Request(file, GetSaveFileNameW)) return {};
  return Narrow(file.buffer.data());
}

std::string Win32Dialogs::chooseFolder(std::string_view title, std::string_view startFolder) {
  startCom();
  FolderStart start{Widen(title), Widen(startFolder)};
  // The shell selects "C:\\a\\b" reliably, "C:\\a\\b\\" not always.
  while (start.folder.size() > 3 && (start.folder.back() == L'\\' || start.folder.back() == L'/'))
    start.folder.pop_back();
  std::optional<std::string> picked = PickFolder(owner_, start.caption, start.folder);
  std::string folder = picked ? *picked : BrowseForFolder(owner_, start);
  if (folder.empty()) return {};
  if (folder.back() != '\\') folder += '\\';
  return folder;
}

void Win32Dialogs::message(std::string_view title, std::string_view text) {
  MessageBoxW(owner_, Widen(text).c_str(), Widen(title).c_str(), MB_OK);
}

Dialogs::Answer Win32Dialogs::choose(std::string_view title, std::string_view text) {
  switch (MessageBoxW(owner_, Widen(text).c_str(), Widen(title).c_str(), MB_YESNOCANCEL)) {
    case IDYES:
      return Answer::Yes;
    case IDNO:
      return Answer::No;
    default:
      return Answer::Cancel;
  }
}

bool Win32Dialogs::ask(std::string_view title, std::string_view text) {
  return MessageBoxW(owner_, Widen(text).c_str(), Widen(title).c_str(), MB_YESNO) == IDYES;
}

std::optional<std::string> Win32Dialogs::inputLine(std::string_view title, std::string_view prompt,
                                                   std::string_view initial) {
  std::optional<std::wstring> line =
      ShowInputBox(owner_, Widen(title), Widen(prompt), Widen(initial));
  if (!line) return std::nullopt;
  return Narrow(*line);
}
