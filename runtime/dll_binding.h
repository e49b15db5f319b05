// Placeholder header until DLL command binding lands.
#pragma once
#include <cstdint>
namespace rt {
void InitDllCommands(uint32_t count, const char* const* files, const char* const* entries);
void ReleaseDllCommands();
}  // namespace rt
