// DLL commands: platform functions that program code declares by library file name
// and entry name and calls by number.  Each command is bound on its first call (library
// loaded, entry looked up) and keeps its own module handle until ReleaseDllCommands.
#pragma once
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <type_traits>

#include "runtime/values.h"

namespace rt {

// Takes the declarations: command k uses files[k] (empty: the standard libraries) and
// entries[k] (a name or "#" and a decimal ordinal).  The texts are borrowed and must
// live until ReleaseDllCommands (they sit in the program's constant block).  Any
// earlier declarations are released first.
void InitDllCommands(uint32_t count, const char* const* files, const char* const* entries);
// Unloads every cached module and clears the tables (shutdown).
void ReleaseDllCommands();

// The address of command k, bound on first use.  Never null: a library or entry that
// cannot be found is a fatal run-time error.
void* BindDllCommand(uint32_t k);
// The module handle that command k holds; null while it is unbound.
HMODULE DllCommandModule(uint32_t k);

// Calls the standard-call function at fn with 32-bit arguments pushed last to first.
// *stackDifference receives the stack pointer after the call minus the one before the
// arguments were pushed: 0 when the callee removed exactly what was pushed.  Space
// below the caller's frame keeps a callee that removes too much from reaching it.
uint32_t CallWithStackCheck(void* fn, const uint32_t* args, uint32_t count, int32_t* stackDifference);

// Binds and calls DLL command k with its arguments; a stack depth that differs after
// the call (a declaration with the wrong argument count) raises run-time error 6.
uint32_t CallDllCommand(uint32_t k, std::initializer_list<uint32_t> args);
uint32_t CallDllCommand(uint32_t k, const uint32_t* args, uint32_t count);

// The 32-bit word of an argument: integers as they are, pointers by address.
template <typename T>
inline uint32_t DllWord(T v) {
  if constexpr (std::is_pointer_v<T>)
    return Word(v);
  else if constexpr (std::is_same_v<T, std::nullptr_t>)
    return 0;
  else
    return static_cast<uint32_t>(v);
}

// CallDllCommand(k, hwnd, WM_SETTEXT, 0, text): the same with mixed argument types.
template <typename... A>
inline uint32_t CallDll(uint32_t k, A... args) {
  return CallDllCommand(k, {DllWord(args)...});
}

// The platform functions the binder uses; tests replace them to watch the binding.
struct DllLoader {
  HMODULE(WINAPI* load)(LPCSTR name);
  BOOL(WINAPI* unload)(HMODULE module);
  FARPROC(WINAPI* lookup)(HMODULE module, LPCSTR entry);
};
// Null restores LoadLibraryA, FreeLibrary and GetProcAddress.
void SetDllLoader(const DllLoader* loader);

}  // namespace rt
