// Describing a component type once: its type entry built from named parts (its property
// table from its property list, components/property_list.h), and the GetInterface
// slots that every component class shares.
#pragma once
#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "components/convert_texts.h"
#include "components/property_list.h"
#include "runtime/library_link.h"
#include "runtime/program_image.h"
#include "runtime/values.h"
#include "runtime/window_object.h"

namespace comp {

// Type flag bits the runtime leaves unnamed.  The keyboard handling of the window
// reads the focus bits; the high bit is only carried.
constexpr uint32_t kTypeLibraryBit = 0x80000000;          // the kernel types and DropTarget
constexpr uint32_t kTypeTakesNoFocus = 0x2000;            // Tab goes on by the tab order from it
constexpr uint32_t kTypeTakesNoFocusFromZero = 0x4000;    // the same, from tab order 0
constexpr uint32_t kTypeNoTabStop = 0x10000;              // never a Tab target

// A type entry: no methods, events or elements and no toolbox bitmap.
template <size_t N>
constexpr rt::ComponentTypeInfo TypeEntry(const char* name, const char* englishName, uint32_t flags,
                                          const std::array<rt::PropertyInfo, N>& properties,
                                          rt::GetInterfaceFn getInterface) {
  return {name, englishName, nullptr, 0, nullptr, flags, 0, 0, nullptr, static_cast<uint32_t>(N),
          properties.data(), getInterface, 0, nullptr};
}

// The component object behind an object pointer the runtime hands over; null for none
// or one of another type.
template <typename T>
T* ComponentOf(void* object) {
  return object ? dynamic_cast<T*>(static_cast<rt::WindowObject*>(object)) : nullptr;
}

// The component that a command's ComponentRef argument names (the runtime ends the
// program when it is not loaded); null when it is of another type.
template <typename T>
T* CommandComponent(const rt::LibraryLink& link, const rt::ArgRecord& ref) {
  return ComponentOf<T>(rt::LibraryLink::Pointer(
      link.Call(rt::SvcComponentObjectOrFail, static_cast<int32_t>(ref.value), static_cast<int32_t>(ref.high))));
}

template <typename T, typename = void>
struct HasWantsKey : std::false_type {};
template <typename T>
struct HasWantsKey<T, std::void_t<decltype(&T::WantsKey)>> : std::true_type {};
template <typename T, typename = void>
struct HasDefaultButton : std::false_type {};
template <typename T>
struct HasDefaultButton<T, std::void_t<decltype(&T::IsDefaultButton)>> : std::true_type {};
template <typename T, typename = void>
struct HasStoredTexts : std::false_type {};
template <typename T>
struct HasStoredTexts<T, std::void_t<decltype(&T::VisitStoredTexts)>> : std::true_type {};

// GetInterface of a component class T, which provides
//   static T* Create(const CreateArgs&);  null when it cannot be created
//   int32_t PropertyChanged(int32_t index, const rt::PropertyData&);  1: re-create
//   bool GetProperty(int32_t index, rt::PropertyData*);
//   std::vector<uint8_t> WriteProperties();  the property blob
// and, for the types that offer these slots,
//   bool WantsKey(int32_t virtualKey) const;  slot 8
//   bool IsDefaultButton() const;  slot 10
//   using StoredData = ...;  static void VisitStoredTexts(StoredData&, rt::TextVisitorFn, void*);  slot 9
// No exception leaves a slot: a failure answers 0 or null.
template <typename T>
class ComponentSlots {
 public:
  static void* __stdcall GetInterface(int32_t slot) {
    switch (slot) {
      case rt::SlotCreateComponent: return reinterpret_cast<void*>(&Create);
      case rt::SlotPropertyChanged: return reinterpret_cast<void*>(&PropertyChanged);
      case rt::SlotGetAllProperties: return reinterpret_cast<void*>(&GetAllProperties);
      case rt::SlotGetProperty: return reinterpret_cast<void*>(&GetProperty);
      case rt::SlotWantsKey:
        if constexpr (HasWantsKey<T>::value) return reinterpret_cast<void*>(&WantsKey);
        return nullptr;
      case rt::SlotConvertTexts:
        if constexpr (HasStoredTexts<T>::value) return reinterpret_cast<void*>(&ConvertTexts);
        return nullptr;
      case rt::SlotIsDefaultButton:
        if constexpr (HasDefaultButton<T>::value) return reinterpret_cast<void*>(&IsDefaultButton);
        return nullptr;
      default: return nullptr;
    }
  }

 private:
  static T* From(void* object) { return ComponentOf<T>(object); }

  static void* __stdcall Create(const uint8_t* blob, int32_t blobSize, uint32_t style, HWND parent, int32_t controlId,
                                HMENU menu, int32_t left, int32_t top, int32_t width, int32_t height,
                                uint32_t windowId, uint32_t componentId, HWND, int32_t designMode) {
    try {
      T* object = T::Create({blob, blobSize, style, parent, controlId, menu, left, top, width, height, windowId,
                             componentId, designMode != 0});
      return object ? static_cast<rt::WindowObject*>(object) : nullptr;
    } catch (...) {
      return nullptr;
    }
  }
  static int32_t __stdcall PropertyChanged(void* object, int32_t index, rt::PropertyData* data, const char**) {
    T* t = From(object);
    if (!t || !data) return 0;
    try {
      return t->PropertyChanged(index, *data);
    } catch (...) {
      return 0;
    }
  }
  static HGLOBAL __stdcall GetAllProperties(void* object) {
    T* t = From(object);
    if (!t) return nullptr;
    try {
      const std::vector<uint8_t> blob = t->WriteProperties();
      return BlobToGlobal(blob.data(), blob.size());
    } catch (...) {
      return nullptr;
    }
  }
  static int32_t __stdcall GetProperty(void* object, int32_t index, rt::PropertyData* data) {
    T* t = From(object);
    if (!t || !data) return 0;
    try {
      return t->GetProperty(index, data) ? 1 : 0;
    } catch (...) {
      return 0;
    }
  }
  static int32_t __stdcall WantsKey(void* object, int32_t key) {
    T* t = From(object);
    return t && t->WantsKey(key) ? 1 : 0;
  }
  static int32_t __stdcall IsDefaultButton(void* object) {
    T* t = From(object);
    return t && t->IsDefaultButton() ? 1 : 0;
  }
  static HGLOBAL __stdcall ConvertTexts(const uint8_t* blob, int32_t size, rt::TextVisitorFn visitor,
                                        void* userData) {
    return ConvertBlobTexts<typename T::StoredData>(
        blob, size, [visitor, userData](typename T::StoredData& d) { T::VisitStoredTexts(d, visitor, userData); });
  }
};

// The type entry of component class T: its property table made from its property list
// (T::kProperties) and GetInterface from ComponentSlots<T>.
template <class T>
inline constexpr auto kPropertyTableOf = PropertyTable(T::kProperties);
template <class T>
constexpr rt::ComponentTypeInfo ComponentTypeEntry(const char* name, const char* englishName, uint32_t flags) {
  return TypeEntry(name, englishName, flags, kPropertyTableOf<T>, &ComponentSlots<T>::GetInterface);
}

}  // namespace comp
