// Drives the running application from the test process as a user would: finds its
// windows by caption and class, clicks, types, opens the context menu, reads list
// items and message boxes.  Records that a message must carry into the tool (list
// items, folder paths) are placed in the tool's own memory.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "child_process.h"
#include "process_runner.h"
#include "runtime/dib_section.h"

namespace app_test {

// Caption of the main window, as the tool shows it (code page 936).
inline const char* MainCaption() { return "Quenlor-------可以提取任何文件图标"; }

// Control ids given at load time: 100 for the last element, then steps of 10.
enum ControlId : int { kListId = 100, kLoadId = 110, kEditId = 140, kBrowseId = 150, kStatusId = 170 };

inline std::string AppPath() { return testing_support::TestFolder() + "..\\app\\IconExtractor.exe"; }

// Status texts of a finished load.
inline const char* StatusDone() { return "查找完成，图标总数： "; }
inline const char* StatusNoIcons() { return "这个文件里没有图标，请另外选择一个文件！"; }

// Polls cond every 50 ms until it holds or timeoutMs passed.
template <typename F>
bool WaitFor(F cond, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (cond()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(50);
  }
}

inline std::string WindowText(HWND w) {
  char text[4096] = {};
  // Through a message with a time limit, so a busy tool cannot hang the test.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &ignored);
  return text;
}

inline std::string ClassOf(HWND w) {
  char name[64] = {};
  GetClassNameA(w, name, sizeof name);
  return name;
}

struct WindowSearch {
  DWORD pid;
  const char* caption;
  const char* className;
  HWND found;
};
inline BOOL CALLBACK MatchWindow(HWND w, LPARAM p) {
  WindowSearch* s = reinterpret_cast<WindowSearch*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != s->pid || !IsWindowVisible(w)) return TRUE;
  if (s->className && ClassOf(w) != s->className) return TRUE;
  if (s->caption && WindowText(w) != s->caption) return TRUE;
  s->found = w;
  return FALSE;
}

class AppSession {
 public:
  AppSession() {
    const std::string program = AppPath();
    if (!testing_support::StartInJob(program, "\"" + program + "\"", &pi_)) return;
    WaitFor([&] { return (main_ = FindOwnWindow(MainCaption(), nullptr)) != nullptr && IsWindowVisible(main_); },
            60000);
    // Until the tool waits for input: its window-created work is done.
    if (main_) WaitForInputIdle(pi_.hProcess, 10000);
  }
  ~AppSession() {
    if (!pi_.hProcess) return;
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 0xDEAD);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
  }
  AppSession(const AppSession&) = delete;
  AppSession& operator=(const AppSession&) = delete;

  HANDLE process() const { return pi_.hProcess; }
  // For failure messages: whether the tool runs, or how it ended.
  std::string ProcessState() const {
    if (!pi_.hProcess) return "the tool did not start";
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) return "the tool is running";
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    char text[64];
    wsprintfA(text, "the tool ended with 0x%08lx", code);
    return text;
  }
  // Ends the tool at once (after a drop it may not end cleanly on its own here).
  void Kill() const {
    if (pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(pi_.hProcess, 0xDEAD);
      WaitForSingleObject(pi_.hProcess, 10000);
    }
  }
  HWND main() const { return main_; }
  HWND Control(int id) const { return GetDlgItem(main_, id); }

  // A visible top-level window of the tool with the caption and/or class given.
  HWND FindOwnWindow(const char* caption, const char* className) const {
    WindowSearch s = {pi_.dwProcessId, caption, className, nullptr};
    EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&s));
    return s.found;
  }
  HWND WaitForWindow(const char* caption, const char* className, DWORD timeoutMs = 10000) const {
    HWND w = nullptr;
    WaitFor([&] { return (w = FindOwnWindow(caption, className)) != nullptr; }, timeoutMs);
    return w;
  }

  // --- list view ---
  HWND List() const { return Control(kListId); }
  int ItemCount() const { return static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0)); }
  // Item texts: LVM_GETITEMTEXTA with the item record and the text buffer placed in the
  // tool's process, where the list view reads and writes them.
  std::vector<std::string> ItemTexts() const {
    std::vector<std::string> texts;
    constexpr SIZE_T kTextSize = 64;
    void* remote = VirtualAllocEx(pi_.hProcess, nullptr, sizeof(LVITEMA) + kTextSize, MEM_COMMIT | MEM_RESERVE,
                                  PAGE_READWRITE);
    if (!remote) return texts;
    char* remoteText = static_cast<char*>(remote) + sizeof(LVITEMA);
    const int count = ItemCount();
    for (int i = 0; i < count; ++i) {
      LVITEMA item = {};
      item.iSubItem = 0;
      item.pszText = remoteText;
      item.cchTextMax = kTextSize;
      char text[kTextSize] = {};
      if (!WriteProcessMemory(pi_.hProcess, remote, &item, sizeof item, nullptr)) break;
      const LRESULT length = SendMessageA(List(), LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(remote));
      if (!ReadProcessMemory(pi_.hProcess, remoteText, text, kTextSize - 1, nullptr)) break;
      texts.emplace_back(text, length >= 0 && length < static_cast<LRESULT>(kTextSize) ? length : 0);
    }
    VirtualFreeEx(pi_.hProcess, remote, 0, MEM_RELEASE);
    return texts;
  }
  // Selects one item with the keyboard: Home, then Right arrow index times.
  void SelectItem(int index) const {
    PostMessageA(List(), WM_KEYDOWN, VK_HOME, 0);
    for (int i = 0; i < index; ++i) PostMessageA(List(), WM_KEYDOWN, VK_RIGHT, 0);
    Sleep(500);
  }
  // Adds the item to the selection as a Ctrl+click would.
  void AddToSelection(int index) const {
    const POINT p = ItemPoint(index);
    PostMessageA(List(), WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(p.x, p.y));
    PostMessageA(List(), WM_LBUTTONUP, MK_CONTROL, MAKELPARAM(p.x, p.y));
    Sleep(500);
  }
  // Client point of a large icon (row by row on LVM_GETITEMSPACING cells), scrolled
  // to the top.
  POINT ItemPoint(int index) const {
    const LRESULT spacing = SendMessageA(List(), LVM_GETITEMSPACING, FALSE, 0);
    const int cx = LOWORD(spacing), cy = HIWORD(spacing);
    RECT client;
    GetClientRect(List(), &client);
    const int columns = cx > 0 && client.right / cx > 0 ? client.right / cx : 1;
    return POINT{(index % columns) * cx + cx / 2, (index / columns) * cy + 20};
  }
  // The selected items' indices, ascending.
  std::vector<int> SelectedItems() const {
    std::vector<int> selected;
    int i = -1;
    while ((i = static_cast<int>(SendMessageA(List(), LVM_GETNEXTITEM, i, LVNI_SELECTED))) >= 0) selected.push_back(i);
    return selected;
  }

  // --- status line ---
  std::string Status() const { return WindowText(Control(kStatusId)); }
  void ClearStatus() const {
    SendMessageA(Control(kStatusId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  }
  // Waits until the status reports a finished load (with or without icons).
  std::string WaitForLoad(DWORD timeoutMs = 240000) const {
    WaitFor([&] { const std::string s = Status(); return s.rfind(StatusDone(), 0) == 0 || s == StatusNoIcons(); },
            timeoutMs);
    return Status();
  }
  // The icon count of the status line, or -1 when it reports no finished load.
  int LoadedCount() const {
    const std::string s = Status();
    return s.rfind(StatusDone(), 0) == 0 ? std::atoi(s.c_str() + std::strlen(StatusDone())) : -1;
  }

  // --- focus and keys ---
  // The window that has the keyboard focus in the tool's interface thread.
  HWND Focused() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(pi_.dwThreadId, &info) ? info.hwndFocus : nullptr;
  }
  int FocusedId() const {
    HWND f = Focused();
    return f ? GetDlgCtrlID(f) : 0;
  }
  // Brings the main window to the front, so that keyboard input goes to the tool.
  bool BringToFront() const {
    SetForegroundWindow(main_);
    return WaitFor([&] { return GetForegroundWindow() == main_; }, 3000);
  }
  // Presses and releases a key as the keyboard would (with Shift held when asked);
  // the input reaches the foreground window's thread through its message queue.
  void PressKey(WORD vk, bool shift = false) const {
    std::vector<INPUT> keys;
    auto add = [&](WORD key, bool up) {
      INPUT in = {};
      in.type = INPUT_KEYBOARD;
      in.ki.wVk = key;
      in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
      in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
      keys.push_back(in);
    };
    if (shift) add(VK_SHIFT, false);
    add(vk, false);
    add(vk, true);
    if (shift) add(VK_SHIFT, true);
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
  }

  // --- drag and drop ---
  // Drags the paths as a file list from a second process (drag_source.exe, built
  // next to the test programs) and drops them on the middle of the list view.  The
  // source stays until the tool's window is gone, at most 30 s.
  bool DropOnList(testing_support::ChildProcess& source, const std::vector<std::string>& paths) const {
    RECT r;
    GetWindowRect(List(), &r);
    std::string arguments = std::to_string((r.left + r.right) / 2) + " " + std::to_string((r.top + r.bottom) / 2);
    for (const auto& p : paths) arguments += " \"" + p + "\"";
    return source.Start(testing_support::TestFolder() + "drag_source.exe", arguments);
  }

  // --- input ---
  void Click(int controlId) const { PostMessageA(Control(controlId), BM_CLICK, 0, 0); }
  void TypePath(const std::string& path) const {
    SendMessageA(Control(kEditId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  }
  // Right-clicks the list (by default low in its empty area) and returns the menu window.
  HWND OpenContextMenu(POINT where = POINT{400, 240}) const {
    const LPARAM at = MAKELPARAM(where.x, where.y);
    PostMessageA(List(), WM_RBUTTONDOWN, MK_RBUTTON, at);
    PostMessageA(List(), WM_RBUTTONUP, 0, at);
    return WaitForWindow(nullptr, "#32768");
  }
  // Types a menu mnemonic into the open menu.
  void ChooseMenuKey(char key) const { PostMessageA(main_, WM_CHAR, static_cast<WPARAM>(key), 0); }
  void CloseMenu() const { PostMessageA(main_, WM_KEYDOWN, VK_ESCAPE, 0); }

  // Closes the main window and waits for the process; its exit code, or 0xDEAD.
  DWORD CloseAndWait(DWORD timeoutMs = 30000) const {
    PostMessageA(main_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi_.hProcess, timeoutMs) != WAIT_OBJECT_0) return 0xDEAD;
    DWORD code = 0xDEAD;
    GetExitCodeProcess(pi_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION pi_ = {};
  HWND main_ = nullptr;
};

// Saves the whole screen as a .bmp file (for looking at the tool's state).
inline bool SaveScreen(const std::string& path) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  BitBlt(dc, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  SelectObject(dc, old);
  const DWORD stride = ((w * 3 + 3) & ~3), size = stride * h;
  BITMAPFILEHEADER fh = {};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
  fh.bfSize = fh.bfOffBits + size;
  bool ok = false;
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f != INVALID_HANDLE_VALUE) {
    DWORD done = 0;
    ok = WriteFile(f, &fh, sizeof fh, &done, nullptr) && WriteFile(f, &bi.bmiHeader, sizeof bi.bmiHeader, &done, nullptr) &&
         WriteFile(f, bits, size, &done, nullptr);
    CloseHandle(f);
  }
  DeleteObject(bmp);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return ok;
}

// Number of client-area pixels of the window whose colour satisfies pred (the
// window's pixels copied once, then scanned here).
template <typename P>
int CountPixels(HWND w, P pred) {
  RECT r;
  GetClientRect(w, &r);
  const int width = r.right, height = r.bottom;
  if (width <= 0 || height <= 0) return 0;
  // The screen, not the window's DC: another process's window surface is not readable
  // through its own DC under Wine.
  POINT origin = {0, 0};
  ClientToScreen(w, &origin);
  rt::WindowDC source(nullptr);
  rt::MemoryDC dc(CreateCompatibleDC(source.get()));
  void* bits = nullptr;
  rt::GdiObject<HBITMAP> bmp = rt::NewTopDownDib(dc.get(), width, height, &bits);
  if (!bmp || !bits) return 0;
  rt::SelectedObject selected(dc.get(), bmp.get());
  BitBlt(dc.get(), 0, 0, width, height, source.get(), origin.x, origin.y, SRCCOPY);
  int n = 0;
  const uint8_t* p = static_cast<const uint8_t*>(bits);
  for (int i = 0; i < width * height; ++i, p += 4)
    if (pred(p[2], p[1], p[0])) ++n;
  return n;
}
// A test suite whose tests share one running tool, started before the first test and
// closed after the last.
template <class Suite>
class SharedToolTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { session_ = new AppSession(); }
  static void TearDownTestSuite() {
    delete session_;
    session_ = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(session_->main(), nullptr) << "the main window did not appear; " << session_->ProcessState();
    ASSERT_TRUE(IsWindow(session_->main())) << "the tool has gone";
  }
  AppSession& app() { return *session_; }

 private:
  static AppSession* session_;
};
template <class Suite>
AppSession* SharedToolTest<Suite>::session_ = nullptr;

inline bool IsRed(int r, int g, int b) { return r > 180 && g < 80 && b < 80; }
inline bool IsDark(int r, int g, int b) { return r < 70 && g < 70 && b < 70; }

}  // namespace app_test
