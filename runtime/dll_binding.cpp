#include "runtime/dll_binding.h"

#include <string>
#include <vector>

#include "runtime/error_report.h"
#include "runtime/runtime_state.h"

namespace rt {
namespace {

// Binding state: one element per declared command, from InitDllCommands to shutdown.
struct DllTables {
  std::vector<const char*> files;    // borrowed declaration texts
  std::vector<const char*> entries;
  std::vector<HMODULE> modules;      // one load per bound command, released at shutdown
  std::vector<void*> addresses;
};
DllTables& Tables() {
  static DllTables tables;
  return tables;
}

const DllLoader kPlatformLoader = {LoadLibraryA, FreeLibrary, GetProcAddress};
const DllLoader* g_loader = &kPlatformLoader;

const char* const kStandardLibraries[] = {"Kernel32.dll", "Gdi32.dll",  "User32.dll",
                                          "Advapi32.dll", "Mpr.dll",    "Shell32.dll"};

// The entry as GetProcAddress takes it: the name, or for "#n" the ordinal n mod 65536.
LPCSTR EntryKey(const char* entry) {
  if (entry[0] != '#') return entry;
  uint32_t ordinal = 0;
  for (const char* p = entry + 1; *p >= '0' && *p <= '9'; ++p) ordinal = (ordinal * 10 + (*p - '0')) % 65536;
  return MAKEINTRESOURCEA(ordinal);
}

// The program's folder with its trailing backslash.
const std::string& ModuleFolder() {
  std::string& folder = Runtime().moduleFolder;
  if (folder.empty()) {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
      std::string file(path, n);
      size_t slash = file.find_last_of('\\');
      if (slash != std::string::npos) folder = file.substr(0, slash + 1);
    }
  }
  return folder;
}

HMODULE LoadNamedLibrary(const char* file) {
  if (std::string(file).find(':') != std::string::npos) return g_loader->load(file);
  std::string local = ModuleFolder();
  if (!local.empty()) {
    if (local.back() != '\\') local += '\\';
    local += file;
    if (HMODULE module = g_loader->load(local.c_str())) return module;
  }
  return g_loader->load(file);
}

[[noreturn]] void EntryNotFound(const char* file, const char* entry) {
  std::string message;
  if (*file) {
    message = "无法找到指定DLL库文件“";
    message += file;
    message += "”中的输出命令“";
  } else {
    message = "无法找到指定DLL库文件中的输出命令“";
  }
  message += entry;
  message += "”";
  ReportRuntimeError(message.c_str(), 0);
}

}  // namespace

void SetDllLoader(const DllLoader* loader) { g_loader = loader ? loader : &kPlatformLoader; }

void InitDllCommands(uint32_t count, const char* const* files, const char* const* entries) {
  ReleaseDllCommands();
  DllTables& t = Tables();
  t.files.assign(count, "");
  t.entries.assign(count, "");
  t.modules.assign(count, nullptr);
  t.addresses.assign(count, nullptr);
  for (uint32_t k = 0; k < count; ++k) {
    if (files && files[k]) t.files[k] = files[k];
    if (entries && entries[k]) t.entries[k] = entries[k];
  }
}

void ReleaseDllCommands() {
  DllTables& t = Tables();
  for (HMODULE module : t.modules)
    if (module) g_loader->unload(module);
  t.files.clear();
  t.entries.clear();
  t.modules.clear();
  t.addresses.clear();
}

HMODULE DllCommandModule(uint32_t k) {
  const DllTables& t = Tables();
  return k < t.modules.size() ? t.modules[k] : nullptr;
}

void* BindDllCommand(uint32_t k) {
  DllTables& t = Tables();
  // A number outside the declarations names no entry at all.
  if (k >= t.addresses.size()) EntryNotFound("", "");
  if (t.addresses[k]) return t.addresses[k];

  const char* file = t.files[k];
  const char* entry = t.entries[k];
  LPCSTR key = EntryKey(entry);
  HMODULE module = nullptr;
  void* address = nullptr;
  if (*file == 0) {
    for (const char* library : kStandardLibraries) {
      HMODULE candidate = g_loader->load(library);
      if (!candidate) continue;
      address = reinterpret_cast<void*>(g_loader->lookup(candidate, key));
      if (address) {
        module = candidate;
        break;
      }
      g_loader->unload(candidate);
    }
  } else {
    module = LoadNamedLibrary(file);
    if (module) address = reinterpret_cast<void*>(g_loader->lookup(module, key));
  }
  if (!address) {
    if (module) g_loader->unload(module);
    EntryNotFound(file, entry);
  }
  t.modules[k] = module;
  t.addresses[k] = address;
  return address;
}

uint32_t CallWithStackCheck(void* fn, const uint32_t* args, uint32_t count, int32_t* stackDifference) {
  uint32_t result;
  uint32_t ecx = count;
  void* target = fn;
  // edi keeps the caller's stack pointer across the call (the callee preserves it);
  // eight zero words between the caller's frame and the arguments absorb a callee
  // that removes more than was pushed, and read as 0 for arguments it expected.
  asm volatile(
      "movl %%esp, %%edi\n\t"
      "pushl $0\n\tpushl $0\n\tpushl $0\n\tpushl $0\n\t"
      "pushl $0\n\tpushl $0\n\tpushl $0\n\tpushl $0\n\t"
      "jecxz 2f\n"
      "1:\n\t"
      "pushl -4(%%esi,%%ecx,4)\n\t"
      "loop 1b\n"
      "2:\n\t"
      "call *%%edx\n\t"
      "movl %%esp, %%ecx\n\t"
      "subl %%edi, %%ecx\n\t"
      "addl $32, %%ecx\n\t"
      "movl %%edi, %%esp\n\t"
      : "=a"(result), "+c"(ecx), "+d"(target)
      : "S"(args)
      : "edi", "memory", "cc");
  *stackDifference = static_cast<int32_t>(ecx);
  return result;
}

uint32_t CallDllCommand(uint32_t k, const uint32_t* args, uint32_t count) {
  void* fn = BindDllCommand(k);
  int32_t difference = 0;
  uint32_t result = CallWithStackCheck(fn, args, count, &difference);
  if (difference != 0) RaiseRuntimeError(6);
  return result;
}

uint32_t CallDllCommand(uint32_t k, std::initializer_list<uint32_t> args) {
  return CallDllCommand(k, args.begin(), static_cast<uint32_t>(args.size()));
}

}  // namespace rt
