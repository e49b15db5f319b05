// Placeholder until DLL command binding lands.
#include "runtime/dll_binding.h"
namespace rt {
void InitDllCommands(uint32_t, const char* const*, const char* const*) {}
void ReleaseDllCommands() {}
}  // namespace rt
