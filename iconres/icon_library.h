// The two libraries of this layer as the runtime sees them.
//  - Library 4, icon resources: ExtractFileIcon.
//  - Library 5, shell helpers: GetSpecialFolder, ResolveShortcut.
// Each keeps the RuntimeService address that its LibraryNotify receives with code 1;
// texts that its commands return are allocated through it (RuntimeService 2024), so
// the receiver frees them with FreeMemory.
#pragma once
#include <cstdint>

#include "runtime/library_link.h"
#include "runtime/program_image.h"

namespace iconres {

const rt::LibraryDescriptor& IconResourceLibrary();
int32_t __stdcall IconResourceNotify(int32_t code, int32_t arg1, int32_t arg2);
const rt::LibraryLink& IconResourceLink();

const rt::LibraryDescriptor& ShellLibrary();
int32_t __stdcall ShellNotify(int32_t code, int32_t arg1, int32_t arg2);
const rt::LibraryLink& ShellLink();

}  // namespace iconres
