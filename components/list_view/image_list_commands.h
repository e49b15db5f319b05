// The image-list commands of the second extension library (library 3) and the
// platform side of the image-list data format (formats/records/image_list_data.h).
#pragma once
#include <windows.h>
#include <objidl.h>  // before commctrl.h: declares the stream functions of image lists
#include <commctrl.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "formats/records/image_list_data.h"
#include "runtime/handles.h"
#include "runtime/heap.h"
#include "runtime/library_link.h"
#include "runtime/program_image.h"
#include "runtime/values.h"

namespace comp {

// A new image list from image-list data, or an empty handle.  A stream that holds no
// image is built directly from its header when the platform reader refuses it (the
// application's own empty list carries a truncated bitmap header).  Repeated reads of
// the data that the image-list commands wrote last are served from a cache.
rt::ImageListHandle ReadImageListData(const uint8_t* data, size_t size);
// Serialises a list; false when the platform writer fails.
bool WriteImageListData(HIMAGELIST list, std::vector<uint8_t>* out);

// Library 3 commands.
void __cdecl GetFileIconCountCommand(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args);
void __cdecl AddFileIconCommand(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args);
void __cdecl GetImageCountCommand(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args);

rt::LibraryLink& ImageListLibraryLink();
int32_t __stdcall ImageListLibraryNotify(int32_t code, int32_t arg1, int32_t arg2);
extern const rt::LibraryDescriptor kImageListLibrary;

}  // namespace comp
