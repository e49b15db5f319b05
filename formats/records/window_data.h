// The window component's property block and its serialised form (versions 1 to 6).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "formats/records/blob_fields.h"
#include "formats/records/property_values.h"

namespace comp {

enum WindowBorder : int32_t {
  BorderNone = 0, BorderResizable, BorderFixed, BorderResizableTool, BorderFixedTool,
  BorderResizableSunken, BorderFixedSunken,
};
enum WindowStart : int32_t { StartAsStored = 0, StartCentred, StartMinimised, StartMaximised };

struct WindowData : VersionedBlob<WindowData> {
  // Stored versions: up to 6; every older one holds the same fields.
  static constexpr int32_t kOldestVersion = kAnyOlderVersion;
  static constexpr int32_t kBlobVersion = 6;

  std::string caption;
  int32_t border = BorderFixed;
  uint32_t backColour = kButtonFaceColor;
  std::vector<uint8_t> picture;
  int32_t pictureLayout = 1;
  std::vector<uint8_t> sound;
  int32_t soundMode = 0;
  bool controlBox = true, maxButton = false, minButton = false;
  int32_t startPosition = StartCentred;
  bool movable = true;
  std::vector<uint8_t> icon;
  bool enterMovesFocus = false, escapeCloses = true;
  bool f1Help = false;
  std::string helpFile;
  int32_t helpContext = 0;
  bool showInTaskbar = true, dragByClient = false;
  int32_t shape = 0;
  bool alwaysOnTop = false, captionAlwaysActive = false;
  std::string className;

  // The stored fields in blob order, for reading and writing alike (formats/records/blob_fields.h).
  template <class Record, class Fields>
  static void Visit(Record& d, Fields& f);
};
extern template struct VersionedBlob<WindowData>;

}  // namespace comp
