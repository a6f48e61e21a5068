#include "fileops/drop_ole_win.h"

#include <cstring>
#include <new>

#include "fileops/drop_block.h"
#include "fileops/drop_policy.h"
#include "fileops/drop_targets_win.h"
#include "frame/command_gate.h"
#include "fw/ole_runtime.h"
#include "fileops/drop_handle_win.h"
#include "os/drop_memory.h"
#include "os/drop_record.h"
#include "table/sorm.h"

namespace fileops {
namespace {

HWND g_dragSource = nullptr;

// The reference counting the four classes share.
template <typename T>
ULONG Decrement(T* self, LONG& refs) {
  const LONG n = ::InterlockedDecrement(&refs);
  if (n == 0) delete self;
  return static_cast<ULONG>(n);
}

template <typename Interface, typename T>
HRESULT Answer(T* self, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(Interface))) {
    *out = static_cast<Interface*>(self);
    self->AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

template <typename Fn>
Fn OleCall(const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(ole::Proc(name)));
}

}  // namespace

FORMATETC DropFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

bool IsDropFormat(const FORMATETC& fmt) {
  return fmt.cfFormat == CF_HDROP && fmt.ptd == nullptr && fmt.dwAspect == DVASPECT_CONTENT &&
         fmt.lindex == -1 && (fmt.tymed & TYMED_HGLOBAL) != 0;
}

void ReleaseDropMedium(STGMEDIUM& medium) {
  if (medium.pUnkForRelease) {
    medium.pUnkForRelease->Release();
  } else if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
    os::Drops().GlobalFree(medium.hGlobal);
  }
  medium = STGMEDIUM{};
}

HGLOBAL CopyDropBlock(HGLOBAL block, POINT clientPoint) {
  const SIZE_T size = block ? ::GlobalSize(block) : 0;
  if (size < kDropHeaderSize || size > kMaxDropBlockSize) return nullptr;
  const void* from = ::GlobalLock(block);
  if (!from) return nullptr;
  HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, size);
  void* to = copy ? ::GlobalLock(copy) : nullptr;
  if (to) {
    std::memcpy(to, from, size);
    SetDropPoint(to, size, clientPoint.x, clientPoint.y, false);
    ::GlobalUnlock(copy);
    os::MadeDrops().Made(copy);
  } else if (copy) {
    os::Drops().GlobalFree(copy);
    copy = nullptr;
  }
  ::GlobalUnlock(block);
  return copy;
}

// ---- CDropTarget

CDropTarget::~CDropTarget() { Forget(); }

STDMETHODIMP CDropTarget::QueryInterface(REFIID iid, void** out) {
  return Answer<IDropTarget>(this, iid, out);
}
STDMETHODIMP_(ULONG) CDropTarget::AddRef() { return ::InterlockedIncrement(&refs_); }
STDMETHODIMP_(ULONG) CDropTarget::Release() { return Decrement(this, refs_); }

void CDropTarget::Forget() {
  if (data_) data_->Release();
  data_ = nullptr;
}

bool CDropTarget::CanDropAt(POINTL screen) const {
  if (gate_ && gate_->Busy() && !gate_->Dragging()) return false;
  if (!IsDragSourceWindow(pane_)) return true;
  POINT p{screen.x, screen.y};
  ::ScreenToClient(pane_, &p);
  table::BINFO* hit = table_ ? table_->HitTest(p.x, p.y) : nullptr;
  const bool entryHit = hit && table_->IsEntry(hit) && hit->Data();
  return CanDropOnPane(true, entryHit, entryHit && hit->Data()->IsSelected());
}

STDMETHODIMP CDropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  Forget();
  FORMATETC fmt = DropFormat();
  if (!data || data->QueryGetData(&fmt) != S_OK) {
    *effect = kEffectNone;
    return S_OK;
  }
  *effect = EffectFromKeyState(keys);
  data_ = data;
  data_->AddRef();
  return S_OK;
}

STDMETHODIMP CDropTarget::DragOver(DWORD keys, POINTL point, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  *effect = data_ ? EffectAt(keys, CanDropAt(point)) : kEffectNone;
  return S_OK;
}

STDMETHODIMP CDropTarget::DragLeave() {
  Forget();
  return S_OK;
}

// The effect reported back stays none, whatever is done: the drop is carried out later, after
// its question, by this program itself, and a source told "moved" would delete its files then.
STDMETHODIMP CDropTarget::Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  *effect = kEffectNone;
  if (!data_) return E_FAIL;
  Forget();
  if (EffectAt(keys, CanDropAt(point)) == kEffectNone) return S_OK;
  const DropMode mode = ModeFromKeys(keys & MK_SHIFT, keys & MK_CONTROL);
  FORMATETC fmt = DropFormat();
  STGMEDIUM medium{};
  if (!data || data->GetData(&fmt, &medium) != S_OK) return E_FAIL;
  HRESULT hr = E_FAIL;
  if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
    POINT client{point.x, point.y};
    ::ScreenToClient(pane_, &client);
    // The pane gets its own copy: the medium stays the giver's, released below.
    if (HGLOBAL copy = CopyDropBlock(medium.hGlobal, client)) {
      // Where it landed is taken now: the listing may change before the block is handled.
      const HDROP posted = static_cast<HDROP>(copy);
      if (table_) RecordDropTarget(pane_, posted, DropTargetAt(*table_, pane_, client, false));
      if (PostDropBlock(pane_, copy, static_cast<LPARAM>(TagOfMode(mode)))) {
        hr = S_OK;
      } else {
        ForgetDropTarget(posted);
        os::Drops().DragFinish(copy);
      }
    }
  }
  ReleaseDropMedium(medium);
  return hr;
}

// ---- CDataObject

CDataObject::~CDataObject() {
  if (owns_ && drop_) os::Drops().DragFinish(drop_);
  if (inner_) inner_->Release();
}

STDMETHODIMP CDataObject::QueryInterface(REFIID iid, void** out) {
  return Answer<IDataObject>(this, iid, out);
}
STDMETHODIMP_(ULONG) CDataObject::AddRef() { return ::InterlockedIncrement(&refs_); }
STDMETHODIMP_(ULONG) CDataObject::Release() { return Decrement(this, refs_); }

STDMETHODIMP CDataObject::QueryGetData(FORMATETC* fmt) {
  if (!fmt) return E_INVALIDARG;
  if (IsDropFormat(*fmt)) return S_OK;
  return inner_ ? inner_->QueryGetData(fmt) : DV_E_FORMATETC;
}

STDMETHODIMP CDataObject::GetData(FORMATETC* fmt, STGMEDIUM* medium) {
  if (!fmt || !medium) return E_INVALIDARG;
  const HRESULT hr = QueryGetData(fmt);
  if (hr != S_OK) return hr;
  if (!IsDropFormat(*fmt)) return inner_ ? inner_->GetData(fmt, medium) : DV_E_FORMATETC;
  if (!drop_) return E_UNEXPECTED;
  // The block stays this object's: the receiver releases the medium by releasing us.
  medium->tymed = TYMED_HGLOBAL;
  medium->hGlobal = drop_;
  medium->pUnkForRelease = static_cast<IDataObject*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP CDataObject::GetDataHere(FORMATETC* fmt, STGMEDIUM* medium) {
  if (!fmt) return E_INVALIDARG;
  if (IsDropFormat(*fmt) || !inner_) return E_NOTIMPL;
  return inner_->GetDataHere(fmt, medium);
}

STDMETHODIMP CDataObject::GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) {
  if (!in) return E_INVALIDARG;
  if (IsDropFormat(*in) || !inner_) return E_NOTIMPL;
  return inner_->GetCanonicalFormatEtc(in, out);
}

STDMETHODIMP CDataObject::SetData(FORMATETC* fmt, STGMEDIUM* medium, BOOL release) {
  if (!fmt || !medium) return E_INVALIDARG;
  if (!IsDropFormat(*fmt)) return inner_ ? inner_->SetData(fmt, medium, release) : E_NOTIMPL;
  if (medium->tymed != TYMED_HGLOBAL) return DV_E_TYMED;
  if (owns_ && drop_ && drop_ != medium->hGlobal) os::Drops().DragFinish(drop_);
  drop_ = medium->hGlobal;
  owns_ = release != FALSE;
  return S_OK;
}

STDMETHODIMP CDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  IEnumFORMATETC* inner = nullptr;
  if (inner_ && inner_->EnumFormatEtc(direction, &inner) != S_OK) inner = nullptr;
  auto* e = new (std::nothrow) CDropEnumFormatEtc(0, inner);
  if (!e) {
    if (inner) inner->Release();
    return E_OUTOFMEMORY;
  }
  return e->QueryInterface(IID_IEnumFORMATETC, reinterpret_cast<void**>(out));
}

// ---- CDropSource

STDMETHODIMP CDropSource::QueryInterface(REFIID iid, void** out) {
  return Answer<IDropSource>(this, iid, out);
}
STDMETHODIMP_(ULONG) CDropSource::AddRef() { return ::InterlockedIncrement(&refs_); }
STDMETHODIMP_(ULONG) CDropSource::Release() { return Decrement(this, refs_); }

STDMETHODIMP CDropSource::QueryContinueDrag(BOOL escape, DWORD keys) {
  if (escape || (cancelled_ && *cancelled_)) return DRAGDROP_S_CANCEL;
  if (!(keys & (MK_LBUTTON | MK_RBUTTON))) return DRAGDROP_S_DROP;
  return S_OK;
}

STDMETHODIMP CDropSource::GiveFeedback(DWORD) { return DRAGDROP_S_USEDEFAULTCURSORS; }

// ---- CDropEnumFormatEtc

CDropEnumFormatEtc::~CDropEnumFormatEtc() {
  if (inner_) inner_->Release();
}

STDMETHODIMP CDropEnumFormatEtc::QueryInterface(REFIID iid, void** out) {
  return Answer<IEnumFORMATETC>(this, iid, out);
}
STDMETHODIMP_(ULONG) CDropEnumFormatEtc::AddRef() { return ::InterlockedIncrement(&refs_); }
STDMETHODIMP_(ULONG) CDropEnumFormatEtc::Release() { return Decrement(this, refs_); }

STDMETHODIMP CDropEnumFormatEtc::Next(ULONG count, FORMATETC* out, ULONG* fetched) {
  if (!out || (count > 1 && !fetched)) return E_INVALIDARG;
  ULONG n = 0;
  if (count > 0 && position_ == 0) {
    out[0] = DropFormat();
    position_ = 1;
    n = 1;
  }
  if (n < count && inner_) {
    ULONG more = 0;
    if (SUCCEEDED(inner_->Next(count - n, out + n, &more))) n += more;
  }
  if (fetched) *fetched = n;
  return n == count ? S_OK : S_FALSE;
}

STDMETHODIMP CDropEnumFormatEtc::Skip(ULONG count) {
  // The format of our own comes first, then the inner enumerator's.
  if (count > 0 && position_ == 0) {
    position_ = 1;
    --count;
  }
  if (count == 0) return S_OK;
  return inner_ ? inner_->Skip(count) : S_FALSE;
}

STDMETHODIMP CDropEnumFormatEtc::Reset() {
  position_ = 0;
  if (inner_) inner_->Reset();
  return S_OK;
}

STDMETHODIMP CDropEnumFormatEtc::Clone(IEnumFORMATETC** out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  // The clone walks on its own: it gets a clone of the inner enumerator, not the same one.
  IEnumFORMATETC* inner = nullptr;
  if (inner_ && inner_->Clone(&inner) != S_OK) inner = nullptr;
  auto* e = new (std::nothrow) CDropEnumFormatEtc(position_, inner);
  if (!e) {
    if (inner) inner->Release();
    return E_OUTOFMEMORY;
  }
  return e->QueryInterface(IID_IEnumFORMATETC, reinterpret_cast<void**>(out));
}

// ---- registration and the drag source mark

PaneDropTarget::PaneDropTarget(HWND pane, table::Sorm* table, frame::CommandGate* gate)
    : pane_(pane) {
  auto* t = new (std::nothrow) CDropTarget(pane, table, gate);
  if (!t || t->QueryInterface(IID_IDropTarget, reinterpret_cast<void**>(&target_)) != S_OK)
    return;
  using Lock = HRESULT(WINAPI*)(IUnknown*, BOOL, BOOL);
  using Register = HRESULT(WINAPI*)(HWND, IDropTarget*);
  static Lock lock = OleCall<Lock>("CoLockObjectExternal");
  static Register reg = OleCall<Register>("RegisterDragDrop");
  locked_ = lock && SUCCEEDED(lock(target_, TRUE, FALSE));
  registered_ = reg && SUCCEEDED(reg(pane_, target_));
}

PaneDropTarget::~PaneDropTarget() {
  using Lock = HRESULT(WINAPI*)(IUnknown*, BOOL, BOOL);
  using Revoke = HRESULT(WINAPI*)(HWND);
  if (registered_) {
    static Revoke revoke = OleCall<Revoke>("RevokeDragDrop");
    if (revoke) revoke(pane_);
  }
  if (locked_) {
    static Lock lock = OleCall<Lock>("CoLockObjectExternal");
    if (lock) lock(target_, FALSE, TRUE);
  }
  if (target_) target_->Release();
}

bool IsDragSourceWindow(HWND window) { return window && window == g_dragSource; }

DragSourceMark::DragSourceMark(HWND pane) { g_dragSource = pane; }
DragSourceMark::~DragSourceMark() { g_dragSource = nullptr; }

}  // namespace fileops
