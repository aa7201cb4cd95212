#include "platform/win32/control_binder.h"

#include "platform/win32/fonts.h"
#include "platform/win32/screen_units.h"
#include "platform/win32/services_win32.h"
#include "platform/win32/text.h"

namespace zefta::win32 {

bool ShowHourglass(LPARAM hitTest) {
  if (CurrentPointer() != Pointer::Hourglass || LOWORD(hitTest) != HTCLIENT) return false;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  return true;
}

std::unique_ptr<ControlBinder> MakeBinder(const ControlLayout& layout, int id, FontSet& fonts, int windowPoints) {
  HFONT font = fonts.OfSize(layout.fontPoints ? layout.fontPoints : windowPoints);
  switch (layout.kind) {
    case ControlKind::Frame: return MakeFrameBinder(layout, id, font);
    case ControlKind::Label: return MakeLabelBinder(layout, id, font);
    case ControlKind::CheckBox: return MakeCheckBoxBinder(layout, id, font);
    case ControlKind::CommandButton: return MakeCommandButtonBinder(layout, id, font);
    case ControlKind::ListBox: return MakeListBoxBinder(layout, id, font);
    case ControlKind::DriveList: return MakeDriveListBinder(layout, id, font);
    case ControlKind::DirList: return MakeDirListBinder(layout, id, font);
    case ControlKind::FileList: return MakeFileListBinder(layout, id, font);
    case ControlKind::StatusBar: return MakeStatusBarBinder(layout, id, fonts);
  }
  return nullptr;
}

int ControlBinder::WindowHeight() const { return TwipsToPixelsY(layout_.height); }

bool ControlBinder::Create(HWND parent) {
  const WindowSpec kind = Spec();
  hwnd_ = CreateWindowExW(kind.exStyle, kind.className, W(kind.text), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style,
                          TwipsToPixelsX(layout_.left), TwipsToPixelsY(layout_.top), TwipsToPixelsX(layout_.width),
                          WindowHeight(), parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                          GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return false;
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  Created();
  // The window procedure is replaced directly, with the binder in the
  // control's user data. The common controls' SetWindowSubclass keeps its
  // data in a window property read at every message, which under Wine asks
  // the server each time: filling a list of 30,000 names took seconds.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  baseProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlBinder::SubclassProc)));
  return true;
}

void ControlBinder::Attach() {
  if (!layout_.model) return;
  layout_.model->onStateChanged = [this] { Mirror(); };
  Mirror();
}

void ControlBinder::Detach() {
  if (layout_.model) layout_.model->onStateChanged = nullptr;
}

void ControlBinder::Mirror() {
  if (!hwnd_ || !layout_.model) return;
  const bool enabled = layout_.model->Enabled();
  if ((IsWindowEnabled(hwnd_) != FALSE) != enabled) EnableWindow(hwnd_, enabled);
  const bool visible = layout_.model->Visible();
  if (((GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0) != visible)
    ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
  MirrorState();
}

CaptionBinder::CaptionBinder(const ControlLayout& layout, int id, HFONT font) : ControlBinder(layout, id, font) {
  if (Model<Caption>() && Model<Caption>()->Text().empty() && !layout.caption.empty())
    Model<Caption>()->SetText(layout.caption);
}

std::u16string CaptionBinder::CaptionText() const {
  return Model<Caption>() ? Model<Caption>()->Text() : Layout().caption;
}

void CaptionBinder::MirrorState() { SetWindowTextW(Handle(), W(Model<Caption>()->Text())); }

LRESULT CALLBACK ControlBinder::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ControlBinder*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_MOUSEMOVE:
      if (self->layout_.model && self->layout_.model->MouseMove) Guarded([&] { self->layout_.model->MouseMove(); });
      break;
    case WM_SETCURSOR:
      if (ShowHourglass(lParam)) return TRUE;
      break;
    case WM_NCDESTROY: {
      const WNDPROC base = self->baseProc_;
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(base));
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      return CallWindowProcW(base, hwnd, message, wParam, lParam);
    }
  }
  LRESULT result = 0;
  if (self->OnControlMessage(message, wParam, lParam, result)) return result;
  return self->CallBase(message, wParam, lParam);
}

}  // namespace zefta::win32
