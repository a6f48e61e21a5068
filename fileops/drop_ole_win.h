// The OLE side of drag and drop: the drop target each pane registers, and the data object and
// drop source a drag out of a table hands to DoDragDrop, with the format enumerator of the data
// object. Each counts its references from 0 (the creator's QueryInterface takes the first) and
// deletes itself when the count returns to 0; QueryInterface answers IUnknown and its own
// interface only.
//
// The one format handled here is CF_HDROP (no target device, DVASPECT_CONTENT, index -1,
// TYMED_HGLOBAL); the data object passes every other format to its inner object, the shell's
// data object for the same files.
//
// Ownership of drop blocks: the data object frees its own block (when it owns it) as it goes,
// whoever asked for the data; the drop target never posts the block it was given but a copy
// of it, releases the medium it got by the rules of COM, and the WM_DROPFILES handler frees
// the copy. So a block is freed exactly once, from this process or from another.
#pragma once
#include <windows.h>
#include <ole2.h>

#include <memory>

namespace frame {
class CommandGate;
}
namespace table {
class Sorm;
}

namespace fileops {

// Whether fmt is the CF_HDROP format above.
bool IsDropFormat(const FORMATETC& fmt);
FORMATETC DropFormat();

// A medium's release as ReleaseStgMedium does it for global memory: its release owner is
// released, or else the memory freed (through os::Drops()).
void ReleaseDropMedium(STGMEDIUM& medium);

// A copy of a drop block in new movable, shareable memory, with the drop point and a zero
// non-client flag written into it; null when the block is unsound or memory short.
HGLOBAL CopyDropBlock(HGLOBAL block, POINT clientPoint);

class CDropTarget final : public IDropTarget {
 public:
  // gate: while a command holds it, nothing can be dropped.
  CDropTarget(HWND pane, table::Sorm* table, frame::CommandGate* gate)
      : pane_(pane), table_(table), gate_(gate) {}

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
  STDMETHODIMP DragOver(DWORD keys, POINTL point, DWORD* effect) override;
  STDMETHODIMP DragLeave() override;
  STDMETHODIMP Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

  // Whether a drop at a screen point is taken: not while a command runs; within the pane the
  // drag started from, only on an entry that is not selected.
  bool CanDropAt(POINTL screen) const;

  // Only through Release.
  ~CDropTarget();

 private:
  void Forget();
  HWND pane_;
  table::Sorm* table_;
  frame::CommandGate* gate_;
  LONG refs_ = 0;
  IDataObject* data_ = nullptr;
};

class CDataObject final : public IDataObject {
 public:
  // drop: the block handed out for CF_HDROP; owns: whether this object frees it. inner: the
  // object other formats go to (taken over with its reference), or null.
  CDataObject(HGLOBAL drop, bool owns, IDataObject* inner)
      : owns_(owns), drop_(drop), inner_(inner) {}

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetData(FORMATETC* fmt, STGMEDIUM* medium) override;
  STDMETHODIMP GetDataHere(FORMATETC* fmt, STGMEDIUM* medium) override;
  STDMETHODIMP QueryGetData(FORMATETC* fmt) override;
  STDMETHODIMP GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
  STDMETHODIMP SetData(FORMATETC* fmt, STGMEDIUM* medium, BOOL release) override;
  STDMETHODIMP EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override;
  STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP DUnadvise(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

  // Only through Release.
  ~CDataObject();

 private:
  LONG refs_ = 0;
  bool owns_;
  HGLOBAL drop_;
  IDataObject* inner_;
};

class CDropSource final : public IDropSource {
 public:
  // cancelled, when given, ends the drag without a drop once it holds (the window is closing).
  explicit CDropSource(const bool* cancelled = nullptr) : cancelled_(cancelled) {}
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP QueryContinueDrag(BOOL escape, DWORD keys) override;
  STDMETHODIMP GiveFeedback(DWORD effect) override;

  // Only through Release.
  ~CDropSource() = default;

 private:
  LONG refs_ = 0;
  const bool* cancelled_;
};

class CDropEnumFormatEtc final : public IEnumFORMATETC {
 public:
  // inner: the inner object's enumerator (taken over with its reference), or null.
  CDropEnumFormatEtc(int position, IEnumFORMATETC* inner) : position_(position), inner_(inner) {}

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP Next(ULONG count, FORMATETC* out, ULONG* fetched) override;
  STDMETHODIMP Skip(ULONG count) override;
  STDMETHODIMP Reset() override;
  STDMETHODIMP Clone(IEnumFORMATETC** out) override;

  // Only through Release.
  ~CDropEnumFormatEtc();

 private:
  LONG refs_ = 0;
  int position_;
  IEnumFORMATETC* inner_;
};

// The drop target of one pane for the pane's life: CoLockObjectExternal and RegisterDragDrop
// when made, RevokeDragDrop and the unlock when it goes (while the window still exists).
class PaneDropTarget {
 public:
  PaneDropTarget(HWND pane, table::Sorm* table, frame::CommandGate* gate);
  ~PaneDropTarget();
  PaneDropTarget(const PaneDropTarget&) = delete;
  PaneDropTarget& operator=(const PaneDropTarget&) = delete;
  bool Registered() const { return registered_; }

 private:
  HWND pane_;
  IDropTarget* target_ = nullptr;
  bool locked_ = false;
  bool registered_ = false;
};

// The pane an OLE drag runs from (IsDragSourceWindow), for the length of DoDragDrop.
bool IsDragSourceWindow(HWND window);
class DragSourceMark {
 public:
  explicit DragSourceMark(HWND pane);
  ~DragSourceMark();
  DragSourceMark(const DragSourceMark&) = delete;
  DragSourceMark& operator=(const DragSourceMark&) = delete;
};

}  // namespace fileops
