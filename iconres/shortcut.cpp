#include "iconres/shortcut.h"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>

#include "iconres/icon_library.h"
#include "iconres/path_text.h"
#include "runtime/handles.h"
#include "runtime/values.h"

namespace iconres {
namespace {

constexpr int kTextBuffer = 1024;

// Modifier flags of the hot-key word's high byte.
constexpr uint8_t kHotShift = 1, kHotControl = 2, kHotAlt = 4, kHotExt = 8;

// The shortcut's fields, each fetched through IShellLinkA into a 1024-byte buffer.
class ShortcutReader {
 public:
  explicit ShortcutReader(IShellLinkA* link) : link_(link) {}

  std::string Path() const {
    return Fetch([&](char* b) { return link_->GetPath(b, kTextBuffer, nullptr, SLGP_UNCPRIORITY); });
  }
  std::string Arguments() const { return Fetch([&](char* b) { return link_->GetArguments(b, kTextBuffer); }); }
  std::string WorkingFolder() const {
    return Fetch([&](char* b) { return link_->GetWorkingDirectory(b, kTextBuffer); });
  }
  std::string Description() const {
    return Fetch([&](char* b) { return link_->GetDescription(b, kTextBuffer); });
  }
  std::string IconLocation() const {
    int index = 0;
    std::string file = Fetch([&](char* b) { return link_->GetIconLocation(b, kTextBuffer, &index); });
    char formatted[kTextBuffer + 16];
    std::snprintf(formatted, sizeof formatted, "%s,%d", file.c_str(), index);
    return formatted;
  }
  int32_t ShowCommand() const {
    int show = 0;
    if (FAILED(link_->GetShowCmd(&show))) return 0;
    return ReportedShowCommand(show);
  }
  uint16_t HotKey() const {
    WORD key = 0;
    if (FAILED(link_->GetHotkey(&key))) return 0;
    return key;
  }

 private:
  template <typename Fn>
  static std::string Fetch(Fn get) {
    char buffer[kTextBuffer] = {};
    if (FAILED(get(buffer))) return {};
    buffer[kTextBuffer - 1] = 0;
    return buffer;
  }
  IShellLinkA* link_;
};

// The caller's variable behind argument index (0-based), when it may be filled.
void* Variable(int32_t argc, const rt::ArgRecord* args, int32_t index, uint32_t tag) {
  if (index >= argc || args[index].tag != tag) return nullptr;
  return rt::PointerOf(args[index].value);
}

void StoreText(void* variable, const std::string& text) {
  if (!variable) return;
  char** slot = static_cast<char**>(variable);
  const rt::LibraryLink& link = ShellLink();
  link.Free(*slot);
  *slot = link.NewText(text.c_str());
}

void StoreInt(void* variable, int32_t value) {
  if (variable) *static_cast<int32_t*>(variable) = value;
}

void FillVariables(const ShortcutReader& s, int32_t argc, const rt::ArgRecord* args) {
  StoreText(Variable(argc, args, 1, rt::TagText), s.Path());
  StoreText(Variable(argc, args, 2, rt::TagText), s.Arguments());
  StoreText(Variable(argc, args, 3, rt::TagText), s.WorkingFolder());
  StoreText(Variable(argc, args, 4, rt::TagText), s.IconLocation());
  StoreInt(Variable(argc, args, 5, rt::TagInt), s.ShowCommand());
  StoreInt(Variable(argc, args, 6, rt::TagInt), s.HotKey());
  StoreText(Variable(argc, args, 6, rt::TagText), HotKeyText(s.HotKey()));
  StoreText(Variable(argc, args, 7, rt::TagText), s.Description());
}

std::string Resolve(int32_t argc, const rt::ArgRecord* args) {
  std::string file = ShortcutFileName(rt::TextOf(args[0]));
  wchar_t wide[MAX_PATH] = {};
  if (!MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, file.c_str(), -1, wide, MAX_PATH)) return {};

  rt::ComPtr<IShellLinkA> link;
  rt::ComPtr<IPersistFile> persist;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.out())) ||
      FAILED(link->QueryInterface(IID_IPersistFile, persist.out())) || FAILED(persist->Load(wide, 0)))
    return {};

  ShortcutReader reader(link.get());
  std::string commandLine = reader.Path();
  std::string arguments = reader.Arguments();
  if (!arguments.empty()) commandLine += " " + arguments;
  FillVariables(reader, argc, args);
  return commandLine;
}

}  // namespace

std::string HotKeyText(uint16_t hotKey) {
  uint8_t flags = static_cast<uint8_t>(hotKey >> 8);
  char key = static_cast<char>(hotKey & 0xFF);
  std::string text;
  if (flags & kHotControl) text += "Ctrl + ";
  if (flags & kHotShift) text += "Shift + ";
  if (flags & kHotAlt) text += "Alt + ";
  if (flags & kHotExt) text += "Ext + ";
  if (key) text += key;
  return text;
}

int32_t ReportedShowCommand(int32_t show) { return show == SW_SHOWMINNOACTIVE ? SW_SHOWMINIMIZED : show; }

std::string ShortcutFileName(const std::string& path) {
  if (LowerText(path).find(".lnk") == std::string::npos) return path + ".lnk";
  return path;
}

void __cdecl ResolveShortcut(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args) {
  char* text = nullptr;
  try {
    if (args && argc >= 1) text = ShellLink().NewText(Resolve(argc, args).c_str());
  } catch (...) {
    text = nullptr;
  }
  rt::SetTextResult(result, text);
}

}  // namespace iconres
