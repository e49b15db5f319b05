// Records of the program image that the runtime reads: the ProgramHeader, library
// descriptors and the component type tables.  All are 32-bit layouts.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "runtime/runtime_service.h"

namespace rt {

struct LibraryDescriptor;

// Thirteen words that tell the runtime where everything in the program image lies.
struct ProgramHeader {
  uint32_t programKind;        // non-zero enables the ownership and showing rules of windows
  uint32_t reserved1;
  uint32_t reserved2;          // kept plus one
  uint32_t codeBase;           // event-routine offsets in the form description are relative to it
  const uint8_t* constants;    // constant block (a StaticRange)
  uint32_t constantsLength;
  const uint8_t* form;         // form description
  uint32_t formLength;
  uint32_t libraryCount;
  const LibraryDescriptor* const* libraries;  // library-number order, kernel first
  uint32_t dllCommandCount;
  const char* const* dllFileNames;
  const char* const* dllEntryNames;
};
static_assert(sizeof(ProgramHeader) == 13 * 4, "ProgramHeader is thirteen words");
static_assert(offsetof(ProgramHeader, codeBase) == 12 && offsetof(ProgramHeader, form) == 24 &&
              offsetof(ProgramHeader, libraries) == 36 && offsetof(ProgramHeader, dllEntryNames) == 48,
              "ProgramHeader word order");

// TypeFlags bits the runtime consults.
enum TypeFlags : uint32_t {
  TypeIsMenu = 0x4,
  TypeIsForm = 0x10,
  TypeFiltersMessages = 0x20,
  TypeIsControl = 0x40,
  TypeIsContainer = 0x80,
  TypeIsTabControl = 0x100,
  TypeHasDefaultButton = 0x800,
  TypeHiddenAtRunTime = 0x8000,
  TypeReleasesResources = 0x80000,  // the window releases the component's extra resources on WM_DESTROY
  TypeNotifiesParent = 0x100000,
  TypeDragsForm = 0x4000000,
};

enum PropertyKind : int16_t {
  KindInteger = 1000,
  KindInteger2 = 1001,
  KindDouble = 1002,
  KindLogical = 1003,
  KindDateTime = 1004,
  KindText = 1005,
  KindChoice = 1006,
  KindPicture = 1009,
  KindIcon = 1010,
  KindCursor = 1011,
  KindSound = 1012,
  KindFont = 1013,
  KindTextColor = 1014,
  KindColor = 1015,
  KindFileName = 1016,
  KindBackColor = 1017,
  KindImageList = 1023,
  KindCustomData = 1024,
};

// How a property value crosses between the runtime and a component.
struct PropertyData {
  uint32_t value;
  uint32_t high;
};
static_assert(sizeof(PropertyData) == 8, "PropertyData is two words");

struct PropertyInfo {
  const char* name;
  const char* englishName;
  const char* description;
  int16_t kind;     // PropertyKind
  uint16_t flags;
  const char* const* choices;
};
static_assert(sizeof(PropertyInfo) == 20, "PropertyInfo is 20 bytes");

// Program-side value of a whole font property.
struct FontValue {
  int32_t angle;      // tenths of a degree
  int32_t bold;
  int32_t italic;
  int32_t strikeOut;
  int32_t underline;
  int32_t points;
  const char* face;   // text block
};
static_assert(sizeof(FontValue) == 28, "FontValue is seven words");

// GetInterface hands out numbered slots of a component type.
using GetInterfaceFn = void*(__stdcall*)(int32_t slot);
enum InterfaceSlot : int32_t {
  SlotCreateComponent = 1,
  SlotPropertyChanged = 4,
  SlotGetAllProperties = 5,
  SlotGetProperty = 6,
  SlotWindowService = 7,
  SlotWantsKey = 8,
  SlotConvertTexts = 9,
  SlotIsDefaultButton = 10,
  SlotFilterMessage = 11,
};
using CreateComponentFn = void*(__stdcall*)(const uint8_t* blob, int32_t blobSize, uint32_t style,
                                            HWND parent, int32_t controlId, HMENU menu, int32_t left,
                                            int32_t top, int32_t width, int32_t height,
                                            uint32_t windowId, uint32_t componentId,
                                            HWND designWindow, int32_t designMode);
// index is the type's own index (property 8 is 0).  Returns 1 when only a re-creation
// can apply the change.
using PropertyChangedFn = int32_t(__stdcall*)(void* object, int32_t index, PropertyData* data,
                                              const char** errorText);
using GetAllPropertiesFn = HGLOBAL(__stdcall*)(void* object);
using GetPropertyFn = int32_t(__stdcall*)(void* object, int32_t index, PropertyData* data);
using WantsKeyFn = int32_t(__stdcall*)(void* object, int32_t virtualKey);
using IsDefaultButtonFn = int32_t(__stdcall*)(void* object);
using FilterMessageFn = int32_t(__stdcall*)(void* object, MSG* message);
// ConvertTexts (slot 9): the visitor sees each text of a blob with a flag (1 for a font's
// face name, 0 otherwise) and the caller's user data, and returns the text to store in
// its place (read at once; the visitor keeps ownership), or null to keep the text.
using TextVisitorFn = const char*(__stdcall*)(const char* text, int32_t flag, void* userData);
// Returns a new global memory block with the rewritten blob (the caller frees it), or
// null when the blob cannot be read.
using ConvertTextsFn = HGLOBAL(__stdcall*)(const uint8_t* blob, int32_t blobSize, TextVisitorFn visitor,
                                           void* userData);

struct ComponentTypeInfo {
  const char* name;
  const char* englishName;
  const char* description;
  uint32_t methodCount;
  const int32_t* methods;
  uint32_t flags;           // TypeFlags
  uint32_t toolboxBitmap;
  uint32_t eventCount;
  const void* events;
  uint32_t propertyCount;   // including the eight common properties
  const PropertyInfo* properties;
  GetInterfaceFn getInterface;  // null for a type without one (menu)
  uint32_t elementCount;
  const void* elements;
};
static_assert(sizeof(ComponentTypeInfo) == 14 * 4, "ComponentTypeInfo is fourteen words");
static_assert(offsetof(ComponentTypeInfo, flags) == 20 && offsetof(ComponentTypeInfo, getInterface) == 44,
              "ComponentTypeInfo word order");

struct LibraryDescriptor {
  uint32_t formatMark;          // 0x01312D65
  const char* identifier;
  uint32_t major, minor, build;
  uint32_t requiredSystemMajor, requiredSystemMinor, requiredKernelMajor, requiredKernelMinor;
  const char* displayName;
  uint32_t language;            // 1
  const char* description;
  uint32_t stateFlags;
  const char* author;
  const char* postalCode;
  const char* address;
  const char* telephone;
  const char* fax;
  const char* email;
  const char* homePage;
  const char* other;
  uint32_t typeCount;
  const ComponentTypeInfo* types;
  uint32_t categoryCount;
  const void* categories;
  uint32_t commandCount;
  const void* commandDescriptions;
  const void* const* commands;  // command functions (CommandFunction)
  const void* addInFunction;
  const void* addInDescriptions;
  LibraryNotifyFn notify;
  const void* templateFunction;
  const void* templateDescriptions;
  uint32_t constantCount;
  const void* constants;
  const void* dependentFiles;
};
static_assert(sizeof(LibraryDescriptor) == 36 * 4, "LibraryDescriptor is 36 words");
static_assert(offsetof(LibraryDescriptor, typeCount) == 21 * 4 && offsetof(LibraryDescriptor, commands) == 27 * 4 &&
              offsetof(LibraryDescriptor, notify) == 30 * 4, "LibraryDescriptor word order");

constexpr uint32_t kLibraryFormatMark = 0x01312D65;

// Component type ids: (library number << 16) | type number, both 1-based.
constexpr uint32_t TypeWindow = 0x10001;
constexpr uint32_t TypeMenu = 0x10003;
constexpr uint32_t TypeEditBox = 0x10005;
constexpr uint32_t TypeLabel = 0x1000A;
constexpr uint32_t TypeButton = 0x1000B;
constexpr uint32_t TypeCommonDlg = 0x1001F;
constexpr uint32_t TypeListView = 0x20004;
constexpr uint32_t TypeDropTarget = 0x60001;

}  // namespace rt
