#include "components/drop_target_library.h"

#include "components/drop_target.h"

namespace comp {
namespace {

DropTarget* FromObject(void* object) {
  return object ? dynamic_cast<DropTarget*>(static_cast<rt::WindowObject*>(object)) : nullptr;
}

void* __stdcall CreateDropTarget(const uint8_t* blob, int32_t blobSize, uint32_t style, HWND parent,
                                 int32_t controlId, HMENU, int32_t left, int32_t top, int32_t width, int32_t height,
                                 uint32_t windowId, uint32_t componentId, HWND, int32_t designMode) {
  try {
    DropTarget* t = DropTarget::Create(blob, blobSize, style, parent, controlId, left, top, width, height, windowId,
                                       componentId, designMode != 0);
    return t ? static_cast<rt::WindowObject*>(t) : nullptr;
  } catch (...) {
    return nullptr;
  }
}

int32_t __stdcall DropTargetPropertyChanged(void* object, int32_t index, rt::PropertyData* data, const char**) {
  DropTarget* t = FromObject(object);
  return t && data ? t->PropertyChanged(index, *data) : 0;
}

HGLOBAL __stdcall DropTargetGetAllProperties(void* object) {
  DropTarget* t = FromObject(object);
  try {
    return t ? t->GetAllProperties() : nullptr;
  } catch (...) {
    return nullptr;
  }
}

int32_t __stdcall DropTargetGetProperty(void* object, int32_t index, rt::PropertyData* data) {
  DropTarget* t = FromObject(object);
  return t && data && t->GetProperty(index, data) ? 1 : 0;
}

void* __stdcall DropTargetGetInterface(int32_t slot) {
  switch (slot) {
    case rt::SlotCreateComponent: return reinterpret_cast<void*>(&CreateDropTarget);
    case rt::SlotPropertyChanged: return reinterpret_cast<void*>(&DropTargetPropertyChanged);
    case rt::SlotGetAllProperties: return reinterpret_cast<void*>(&DropTargetGetAllProperties);
    case rt::SlotGetProperty: return reinterpret_cast<void*>(&DropTargetGetProperty);
    default: return nullptr;
  }
}

using rt::PropertyInfo;
const PropertyInfo kDropTargetProperties[8 + DtPropertyCount] = {
    {nullptr, nullptr, nullptr, rt::KindInteger, 0xE000, nullptr},
    {nullptr, nullptr, nullptr, rt::KindInteger, 0xE000, nullptr},
    {nullptr, nullptr, nullptr, rt::KindInteger, 0xE000, nullptr},
    {nullptr, nullptr, nullptr, rt::KindInteger, 0xE000, nullptr},
    {nullptr, nullptr, nullptr, rt::KindText, 0xE000, nullptr},
    {nullptr, nullptr, nullptr, rt::KindLogical, 0xE000, nullptr},
    {nullptr, nullptr, nullptr, rt::KindLogical, 0xE000, nullptr},
    {nullptr, nullptr, nullptr, rt::KindCursor, 0xE000, nullptr},
    {nullptr, nullptr, nullptr, rt::KindLogical, 0x8000, nullptr},  // AcceptText
    {nullptr, nullptr, nullptr, rt::KindLogical, 0x8000, nullptr},  // AcceptHtml
    {nullptr, nullptr, nullptr, rt::KindLogical, 0x8000, nullptr},  // AcceptUrl
    {nullptr, nullptr, nullptr, rt::KindLogical, 0x8000, nullptr},  // AcceptFiles
};

}  // namespace

const rt::ComponentTypeInfo kDropTargetType = {
    "拖放对象", "DropTarget", nullptr, 0, nullptr, 0x80008040, 0, 0, nullptr,
    8 + DtPropertyCount, kDropTargetProperties, &DropTargetGetInterface, 0, nullptr,
};

namespace {
const void* const kDropCommands[] = {reinterpret_cast<const void*>(&RegisterCommand)};
}  // namespace

const rt::LibraryDescriptor kDropTargetLibrary = {
    rt::kLibraryFormatMark,
    "{E3A90C5D7B214F8C9D06A1B2C3D4E5F6}",
    1, 0, 1,
    3, 0, 3, 0,
    "拖放支持库",
    1,
    nullptr,
    0,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    1, &kDropTargetType,
    0, nullptr,
    1, nullptr, kDropCommands,
    nullptr, nullptr,
    &DropTargetLibraryNotify,
    nullptr, nullptr,
    0, nullptr,
    nullptr,
};

rt::LibraryLink& DropTargetLibraryLink() {
  static rt::LibraryLink link;
  return link;
}

int32_t __stdcall DropTargetLibraryNotify(int32_t code, int32_t arg1, int32_t arg2) {
  return DropTargetLibraryLink().Notify(code, arg1, arg2);
}

void __cdecl RegisterCommand(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args) {
  result->value = 0;
  result->tag = rt::TagBool;
  if (argc < 2) return;
  void* object = rt::LibraryLink::Pointer(DropTargetLibraryLink().Call(
      rt::SvcComponentObjectOrFail, static_cast<int32_t>(args[0].value), static_cast<int32_t>(args[0].high)));
  DropTarget* target = FromObject(object);
  HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(args[1].value));
  if (target && target->Register(window)) result->value = 1;
}

}  // namespace comp
