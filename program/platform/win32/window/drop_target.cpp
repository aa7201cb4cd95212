#include "platform/win32/window/drop_target.h"

#include <ole2.h>

#include <algorithm>
#include <string>

#include "platform/win32/support/fault_report.h"
#include "platform/win32/support/text.h"

namespace zefta::win32 {

namespace {

// A window disabled by a modal window over it takes no drop, as it takes no click.
class DropTarget final : public IDropTarget {
 public:
  DropTarget(Form& form, HWND hwnd, bool accepts) : form_(form), hwnd_(hwnd), accepts_(accepts) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
      *object = static_cast<IDropTarget*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* object, DWORD, POINTL, DWORD* effect) override {
    return AtEdge("drag enter", effect, [&] {
      data_ = Read(object);
      Over(effect);
    });
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
    return AtEdge("drag over", effect, [&] { Over(effect); });
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override {
    data_ = {};
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* object, DWORD, POINTL, DWORD* effect) override {
    const HRESULT result = AtEdge("drop", effect, [&] {
      data_ = Read(object);
      Over(effect);
      if (Accepting()) form_.OLEDragDrop(data_);
    });
    data_ = {};
    return result;
  }

 private:
  // COM calls these from the system's frames, which nothing may unwind
  // through; after a fault the drag shows no effect.
  template <typename Work>
  HRESULT AtEdge(const char* where, DWORD* effect, Work&& work) {
    if (!CatchFault(hwnd_, where, 0, work)) *effect = DROPEFFECT_NONE;
    return S_OK;
  }
  bool Accepting() const { return accepts_ && IsWindowEnabled(GetAncestor(hwnd_, GA_ROOT)); }
  void Over(DWORD* effect) {
    const int requested = static_cast<int>(*effect);
    *effect = static_cast<DWORD>(Accepting() ? form_.OLEDragOver(data_, requested) : kDropEffectNone);
  }
  static DropData Read(IDataObject* object) {
    DropData data;
    if (!object) return data;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (FAILED(object->GetData(&format, &medium))) return data;
    data = DropDataFromHdrop(static_cast<HDROP>(medium.hGlobal));
    ReleaseStgMedium(&medium);
    return data;
  }

  Form& form_;
  HWND hwnd_;
  bool accepts_;
  ULONG references_ = 1;
  DropData data_;
};

}  // namespace

void RegisterDropTarget(HWND hwnd, Form& form, bool accepts) {
  auto* target = new DropTarget(form, hwnd, accepts);
  RegisterDragDrop(hwnd, target);
  target->Release();
}

DropData DropDataFromHdrop(HDROP drop) {
  DropData data;
  if (!drop) return data;
  data.hasFileList = true;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring buffer(length + 1, L'\0');
    const UINT got = DragQueryFileW(drop, i, buffer.data(), length + 1);
    data.files.push_back(U(buffer.c_str(), std::min(got, length)));
  }
  return data;
}

}  // namespace zefta::win32
