// The DropTarget component: an invisible window plus an OLE drop target that turns
// dropped files, text, HTML and URLs into events whose one argument is a text.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstdint>
#include <string>
#include <vector>

#include "components/component.h"
#include "components/component_type.h"
#include "formats/records/drop_target_data.h"
#include "runtime/handles.h"
#include "runtime/program_image.h"

namespace comp {

enum DropEvent : int32_t { DropText = 0, DropHtml = 1, DropUrl = 2, DropFiles = 3 };

// The effect of a drag: none when not acceptable; Ctrl+Shift (link) always none;
// Ctrl copy, Shift move, each only when allowed; no modifier: copy, move or link,
// the first the source allows.
DWORD DropEffectFor(bool acceptable, DWORD keyState, DWORD allowed);
// Dropped paths as one text: one path alone, several each followed by "\r\n".
std::string JoinDroppedPaths(const std::vector<std::string>& paths);
// "HTML Format" bytes (UTF-8) in the ANSI code page, no-break spaces as spaces.
std::string HtmlToAnsi(const uint8_t* bytes, size_t size);

// Receives the texts of a drop.  Returns false to stop trying further formats.
class DropSink {
 public:
  virtual bool OnDropped(DropEvent event, const std::string& text) = 0;

 protected:
  ~DropSink() = default;
};

class DropTargetObject final : public IDropTarget {
 public:
  explicit DropTargetObject(const DropTargetData& accept);
  DropTargetObject(const DropTargetObject&) = delete;
  DropTargetObject& operator=(const DropTargetObject&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDropTarget
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;

  DropTargetData& accept() { return accept_; }
  void SetSink(DropSink* sink) { sink_ = sink; }
  void SetWindow(HWND window) { window_ = window; }
  bool acceptable() const { return acceptable_; }

 private:
  ~DropTargetObject();
  bool Offers(IDataObject* data, CLIPFORMAT format) const;
  bool DeliverText(IDataObject* data, CLIPFORMAT format, DropEvent event);
  bool DeliverHtml(IDataObject* data);
  bool DeliverFiles(IDataObject* data);

  LONG references_ = 1;
  DropTargetData accept_;
  CLIPFORMAT urlFormat_;
  CLIPFORMAT htmlFormat_;
  bool acceptable_ = false;
  HWND window_ = nullptr;            // the registered window, for the drag-image helper
  DropSink* sink_ = nullptr;         // the component while it lives
  rt::ComPtr<IDropTargetHelper> helper_;  // the shell's drag images; empty without one
};

class DropTarget : public Component, private DropSink {
 public:
  static DropTarget* Create(const CreateArgs& args);
  ~DropTarget() override;

  // The drop target's own properties (components/property_list.h), kept in its OLE
  // drop target's record.
#define COMP_DROP_TARGET_PROPERTIES(X, C)                                               \
  X(AcceptText, rt::KindLogical, acceptText) X(AcceptHtml, rt::KindLogical, acceptHtml) \
  X(AcceptUrl, rt::KindLogical, acceptUrl) X(AcceptFiles, rt::KindLogical, acceptFiles)
  COMP_PROPERTIES(DropTargetData, kOwnPropertyFlags, COMP_DROP_TARGET_PROPERTIES);
#undef COMP_DROP_TARGET_PROPERTIES

  int32_t PropertyChanged(int32_t index, const rt::PropertyData& data);
  bool GetProperty(int32_t index, rt::PropertyData* data) const;
  std::vector<uint8_t> WriteProperties() const;
  // False when a window was registered before (even unsuccessfully) or OLE refuses.
  bool Register(HWND window);
  DropTargetObject* target() const { return target_.get(); }

 protected:
  void OnFinalMessage() override;

 private:
  DropTarget(uint32_t windowId, uint32_t componentId);
  bool OnDropped(DropEvent event, const std::string& text) override;
  void Revoke();

  rt::ComPtr<DropTargetObject> target_;  // one reference held
  HWND registered_ = nullptr;  // revoked on destruction
  bool registeredOnce_ = false;  // Register was called, whatever its outcome
};

}  // namespace comp
