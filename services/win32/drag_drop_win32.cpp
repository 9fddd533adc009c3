// The drag of marked text: a drop source, a data object that offers the text (taken from the frame only when a
// drop asks for it) and a drop target on the frame for the length of the drag, which asks the frame through its
// drag messages where the text may land.
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstring>

#include "services/win32/instance_win32.h"
#include "services/win32/ocs_drag_api.h"

namespace {

// One drag runs at a time, on the user-interface thread.
struct DragState {
  HWND frame = nullptr;
  int32_t kind = OCS_DRAG_TEXT;
  bool moveAllowed = false;
  bool accepted = false;   // the frame's answer for the latest point
  DWORD effect = DROPEFFECT_NONE;
};

UINT markFormat(int32_t kind) {
  static const UINT column = RegisterClipboardFormatA("OSK: Column Mark");
  static const UINT lines = RegisterClipboardFormatA("OSK: LineMark");
  return kind == OCS_DRAG_COLUMN ? column : kind == OCS_DRAG_LINES ? lines : 0;
}

template <class Interface>
class Unknown : public Interface {
 public:
  virtual ~Unknown() = default;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(Interface))) {
      *out = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }

 private:
  ULONG references_ = 1;
};

class DropSource final : public Unknown<IDropSource> {
 public:
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
    if (escape) return DRAGDROP_S_CANCEL;
    if (!(keys & (MK_LBUTTON | MK_RBUTTON))) return DRAGDROP_S_DROP;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

// Offers the text format and the kind's private format; the text itself is asked of the frame as a copy, for a
// program that is not this one.
class DataObject final : public Unknown<IDataObject> {
 public:
  explicit DataObject(DragState& state) : state_(state) {}

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (format == nullptr || medium == nullptr) return E_INVALIDARG;
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    HGLOBAL data = nullptr;
    if (format->cfFormat == CF_TEXT) {
      data = reinterpret_cast<HGLOBAL>(SendMessageA(state_.frame, OCS_DRAG_TAKE, 0, 0));
    } else {
      data = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 1);
    }
    if (data == nullptr) return E_OUTOFMEMORY;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = data;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    if (format == nullptr) return E_INVALIDARG;
    if (!(format->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
    const UINT mark = markFormat(state_.kind);
    return format->cfFormat == CF_TEXT || (mark != 0 && format->cfFormat == mark) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    if (out != nullptr) out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
    if (direction != DATADIR_GET) return E_NOTIMPL;
    FORMATETC formats[2] = {{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL},
                            {static_cast<CLIPFORMAT>(markFormat(state_.kind)), nullptr, DVASPECT_CONTENT, -1,
                             TYMED_HGLOBAL}};
    return SHCreateStdEnumFmtEtc(markFormat(state_.kind) != 0 ? 2 : 1, formats, out);
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  DragState& state_;
};

class DropTarget final : public Unknown<IDropTarget> {
 public:
  explicit DropTarget(DragState& state) : state_(state) {}

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD keys, POINTL point, DWORD* effect) override {
    return ask(OCS_DRAG_ENTER, keys, point, effect);
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override {
    return ask(OCS_DRAG_OVER, keys, point, effect);
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override {
    SendMessageA(state_.frame, OCS_DRAG_LEAVE, 0, 0);
    state_.accepted = false;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD keys, POINTL point, DWORD* effect) override {
    ask(OCS_DRAG_OVER, keys, point, effect);
    OcsDragRecord record{point.x, point.y, state_.kind, nullptr};
    HGLOBAL block = nullptr;
    if (state_.accepted) {
      const bool move = *effect == DROPEFFECT_MOVE;
      block = reinterpret_cast<HGLOBAL>(SendMessageA(state_.frame, OCS_DRAG_TAKE, move ? 1 : 0, 0));
      if (block == nullptr) *effect = DROPEFFECT_NONE;
    }
    record.block = block;
    SendMessageA(state_.frame, OCS_DRAG_DROP, 0, reinterpret_cast<LPARAM>(&record));
    if (block != nullptr) GlobalFree(block);
    state_.effect = *effect;
    return S_OK;
  }

 private:
  HRESULT ask(UINT message, DWORD keys, POINTL point, DWORD* effect) {
    OcsDragRecord record{point.x, point.y, state_.kind, nullptr};
    state_.accepted = SendMessageA(state_.frame, message, 0, reinterpret_cast<LPARAM>(&record)) == 1;
    DWORD chosen = DROPEFFECT_NONE;
    if (state_.accepted) {
      chosen = (keys & MK_CONTROL) || !state_.moveAllowed ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
      if (!(*effect & chosen)) chosen = *effect & DROPEFFECT_COPY;
    }
    *effect = chosen;
    state_.accepted = chosen != DROPEFFECT_NONE;
    return S_OK;
  }

  DragState& state_;
};

}  // namespace

extern "C" int32_t OSK_CALL OCS_DoDragDrop(HOCSINSTANCE instance, int32_t kind, int32_t moveAllowed) {
  if (instance == nullptr) return 0;
  DragState state;
  state.frame = reinterpret_cast<HWND>(instance->core.frame());
  state.kind = kind == OCS_DRAG_COLUMN || kind == OCS_DRAG_LINES ? kind : OCS_DRAG_TEXT;
  state.moveAllowed = moveAllowed != 0;
  if (state.frame == nullptr) return 0;

  const HRESULT ole = OleInitialize(nullptr);
  if (FAILED(ole)) return 0;
  auto* target = new DropTarget(state);
  const bool registered = RegisterDragDrop(state.frame, target) == S_OK;
  auto* source = new DropSource;
  auto* data = new DataObject(state);
  DWORD effect = DROPEFFECT_NONE;
  const DWORD allowed = DROPEFFECT_COPY | (state.moveAllowed ? DROPEFFECT_MOVE : 0);
  const HRESULT result = DoDragDrop(data, source, allowed, &effect);
  data->Release();
  source->Release();
  if (registered) RevokeDragDrop(state.frame);
  target->Release();
  OleUninitialize();
  // Wine and the system may report the effect through the drop target only.
  if (result == DRAGDROP_S_DROP && effect == DROPEFFECT_NONE) effect = state.effect;
  if (result != DRAGDROP_S_DROP) SendMessageA(state.frame, OCS_DRAG_LEAVE, 0, 0);
  return result == DRAGDROP_S_DROP && effect == DROPEFFECT_MOVE ? 1 : 0;
}
