// The first extension library (library 2): five type entries with ListView at
// number 4, and the list commands.
#pragma once
#include <cstdint>

#include "runtime/library_link.h"
#include "runtime/program_image.h"
#include "runtime/values.h"

namespace comp {

extern const rt::ComponentTypeInfo kListViewType;
extern const rt::LibraryDescriptor kListViewLibrary;

rt::LibraryLink& ListViewLibraryLink();
int32_t __stdcall ListViewLibraryNotify(int32_t code, int32_t arg1, int32_t arg2);

// Argument 1 of each is the ListView's ComponentRef.
void __cdecl GetItemCountCommand(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args);
void __cdecl DeleteAllItemsCommand(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args);
void __cdecl InsertItemCommand(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args);
void __cdecl GetSelectedItemsCommand(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args);

}  // namespace comp
