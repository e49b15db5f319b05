#include "components/drop_target/drop_target.h"

#include <shellapi.h>
#include <shlguid.h>

#include <cstring>
#include <memory>

#include "components/drop_target/drop_target_library.h"
#include "components/property_data.h"

namespace comp {
namespace {

constexpr const char* kWindowClass = "DropTargetWindow";

FORMATETC FormatOf(CLIPFORMAT format) { return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

// The bytes of a global block, up to its first NUL when stopAtNul.
std::string GlobalBytes(HGLOBAL global, bool stopAtNul) {
  const SIZE_T size = GlobalSize(global);
  rt::GlobalLockGuard<const char> memory(global);
  const char* p = memory.get();
  if (!p) return {};
  size_t n = size;
  if (stopAtNul) {
    const void* nul = std::memchr(p, 0, size);
    if (nul) n = static_cast<const char*>(nul) - p;
  }
  return std::string(p, n);
}

class Medium {
 public:
  Medium() = default;
  Medium(const Medium&) = delete;
  Medium& operator=(const Medium&) = delete;
  ~Medium() { if (got_) ReleaseStgMedium(&medium_); }
  bool Get(IDataObject* data, CLIPFORMAT format) {
    FORMATETC f = FormatOf(format);
    got_ = SUCCEEDED(data->GetData(&f, &medium_)) ;
    if (got_ && (medium_.tymed != TYMED_HGLOBAL || !medium_.hGlobal)) return false;
    return got_;
  }
  HGLOBAL global() const { return medium_.hGlobal; }

 private:
  STGMEDIUM medium_ = {};
  bool got_ = false;
};

}  // namespace

DWORD DropEffectFor(bool acceptable, DWORD keyState, DWORD allowed) {
  if (!acceptable) return DROPEFFECT_NONE;
  const bool ctrl = keyState & MK_CONTROL;
  const bool shift = keyState & MK_SHIFT;
  if (ctrl && shift) return DROPEFFECT_NONE;  // a link is never accepted
  if (ctrl) return allowed & DROPEFFECT_COPY;
  if (shift) return allowed & DROPEFFECT_MOVE;
  if (allowed & DROPEFFECT_COPY) return DROPEFFECT_COPY;
  if (allowed & DROPEFFECT_MOVE) return DROPEFFECT_MOVE;
  if (allowed & DROPEFFECT_LINK) return DROPEFFECT_LINK;
  return DROPEFFECT_NONE;
}

std::string JoinDroppedPaths(const std::vector<std::string>& paths) {
  if (paths.size() == 1) return paths[0];
  std::string joined;
  for (const std::string& p : paths) joined += p + "\r\n";
  return joined;
}

std::string HtmlToAnsi(const uint8_t* bytes, size_t size) {
  if (!bytes || size == 0 || size > 0x7FFFFFFF) return {};
  const char* utf8 = reinterpret_cast<const char*>(bytes);
  const int n = static_cast<int>(size);
  const int wide = MultiByteToWideChar(CP_UTF8, 0, utf8, n, nullptr, 0);
  if (wide <= 0) return {};
  std::wstring w(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, n, &w[0], wide);
  for (wchar_t& c : w)
    if (c == 0x00A0) c = L' ';
  const int ansi = WideCharToMultiByte(CP_ACP, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
  if (ansi <= 0) return {};
  std::string out(static_cast<size_t>(ansi), '\0');
  WideCharToMultiByte(CP_ACP, 0, w.data(), wide, &out[0], ansi, nullptr, nullptr);
  return out;
}

DropTargetObject::DropTargetObject(const DropTargetData& accept)
    : accept_(accept),
      urlFormat_(static_cast<CLIPFORMAT>(RegisterClipboardFormatA("UniformResourceLocator"))),
      htmlFormat_(static_cast<CLIPFORMAT>(RegisterClipboardFormatA("HTML Format"))) {
  void* helper = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDropTargetHelper,
                                 &helper)))
    helper_.reset(static_cast<IDropTargetHelper*>(helper));
}

DropTargetObject::~DropTargetObject() = default;

HRESULT DropTargetObject::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
    *object = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG DropTargetObject::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG DropTargetObject::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

bool DropTargetObject::Offers(IDataObject* data, CLIPFORMAT format) const {
  FORMATETC f = FormatOf(format);
  return data && data->QueryGetData(&f) == S_OK;
}

HRESULT DropTargetObject::DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  POINT pt = {point.x, point.y};
  if (helper_) helper_->DragEnter(window_, data, &pt, *effect);
  acceptable_ = (accept_.acceptText && Offers(data, CF_TEXT)) || (accept_.acceptFiles && Offers(data, CF_HDROP)) ||
                (accept_.acceptUrl && Offers(data, urlFormat_)) || (accept_.acceptHtml && Offers(data, htmlFormat_));
  *effect = DropEffectFor(acceptable_, keyState, *effect);
  return S_OK;
}

HRESULT DropTargetObject::DragOver(DWORD keyState, POINTL point, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  POINT pt = {point.x, point.y};
  if (helper_) helper_->DragOver(&pt, *effect);
  *effect = DropEffectFor(acceptable_, keyState, *effect);
  return S_OK;
}

HRESULT DropTargetObject::DragLeave() {
  if (helper_) helper_->DragLeave();
  acceptable_ = false;
  return S_OK;
}

HRESULT DropTargetObject::Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  POINT pt = {point.x, point.y};
  if (helper_) helper_->Drop(data, &pt, *effect);
  *effect = DropEffectFor(acceptable_, keyState, *effect);
  acceptable_ = false;
  if (*effect == DROPEFFECT_NONE || !data) return E_FAIL;
  AddRef();  // an event routine may destroy the component, which releases its reference
  try {
    bool goOn = true;
    if (accept_.acceptText && !Offers(data, htmlFormat_)) goOn = DeliverText(data, CF_TEXT, DropText);
    if (goOn && accept_.acceptHtml) goOn = DeliverHtml(data);
    if (goOn && accept_.acceptUrl) goOn = DeliverText(data, urlFormat_, DropUrl);
    if (goOn && accept_.acceptFiles) DeliverFiles(data);
  } catch (...) {
  }
  Release();
  // The source is told that nothing was done with its data; the effect stays.
  return E_FAIL;
}

bool DropTargetObject::DeliverText(IDataObject* data, CLIPFORMAT format, DropEvent event) {
  Medium medium;
  if (!medium.Get(data, format)) return true;
  const std::string text = GlobalBytes(medium.global(), true);
  // An empty text is no drop: the program would receive nothing to work with.
  if (text.empty() || !sink_) return true;
  return sink_->OnDropped(event, text);
}

bool DropTargetObject::DeliverHtml(IDataObject* data) {
  Medium medium;
  if (!medium.Get(data, htmlFormat_)) return true;
  const std::string bytes = GlobalBytes(medium.global(), true);
  const std::string text = HtmlToAnsi(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  if (text.empty() || !sink_) return true;
  return sink_->OnDropped(DropHtml, text);
}

bool DropTargetObject::DeliverFiles(IDataObject* data) {
  Medium medium;
  if (!medium.Get(data, CF_HDROP)) return true;
  HDROP drop = static_cast<HDROP>(medium.global());
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  std::vector<std::string> paths;
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileA(drop, i, nullptr, 0);
    std::vector<char> path(length + 1, '\0');
    DragQueryFileA(drop, i, path.data(), length + 1);
    path.back() = '\0';
    if (path[0]) paths.emplace_back(path.data());
  }
  // A list without a file is no drop (an empty text would end the program).
  if (paths.empty() || !sink_) return true;
  return sink_->OnDropped(DropFiles, JoinDroppedPaths(paths));
}

DropTarget::DropTarget(uint32_t windowId, uint32_t componentId)
    : Component(DropTargetLibraryLink(), windowId, componentId) {}

DropTarget::~DropTarget() {
  Revoke();
  if (target_) target_->SetSink(nullptr);  // the reference goes with the member
}

DropTarget* DropTarget::Create(const CreateArgs& a) {
  DropTargetData props;
  if (a.blob && a.blobSize > 0 && !props.Read(a.blob, static_cast<size_t>(a.blobSize))) return nullptr;
  if (!RegisterObjectClass(kWindowClass, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW),
                           static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))))
    return nullptr;
  std::unique_ptr<DropTarget> component(new DropTarget(a.windowId, a.componentId));
  component->target_.reset(new DropTargetObject(props));
  if (!component->CreateObjectWindow(0, kWindowClass, "", a.style | WS_CHILD | WS_CLIPSIBLINGS, a.left, a.top,
                                     a.width, a.height, a.parent, a.ChildId()))
    return nullptr;
  if (!a.designMode) component->target_->SetSink(component.get());
  return component.release();
}

void DropTarget::OnFinalMessage() {
  Revoke();  // before the runtime forgets the component
  Component::OnFinalMessage();
}

void DropTarget::Revoke() {
  if (registered_) {
    RevokeDragDrop(registered_);
    registered_ = nullptr;
  }
}

bool DropTarget::Register(HWND window) {
  if (registered_ || registeredOnce_) return false;
  registeredOnce_ = true;
  registered_ = window;
  target_->SetWindow(window);
  if (FAILED(RegisterDragDrop(window, target_.get()))) {
    registered_ = nullptr;
    return false;
  }
  return true;
}

bool DropTarget::OnDropped(DropEvent event, const std::string& text) {
  FireText(event, text.c_str());
  return true;
}

int32_t DropTarget::PropertyChanged(int32_t index, const rt::PropertyData& data) {
  DropTargetData& a = target_->accept();
  const bool flag = data.value != 0;
  switch (index) {
    case PAcceptText: a.acceptText = flag; break;
    case PAcceptHtml: a.acceptHtml = flag; break;
    case PAcceptUrl: a.acceptUrl = flag; break;
    case PAcceptFiles: a.acceptFiles = flag; break;
    default: break;
  }
  return 0;
}

bool DropTarget::GetProperty(int32_t index, rt::PropertyData* data) const {
  PutInt(data, 0);
  return PutStoredField(target_->accept(), kProperties, index, data);
}

std::vector<uint8_t> DropTarget::WriteProperties() const { return target_->accept().Write(); }

}  // namespace comp
