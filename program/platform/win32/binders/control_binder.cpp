#include "platform/win32/binders/control_binder.h"

#include <exception>
#include <string>

#include "platform/win32/support/fault_report.h"
#include "platform/win32/support/fonts.h"
#include "platform/win32/support/message_box.h"
#include "platform/win32/support/text.h"

namespace zefta::win32 {

namespace {

// A layout row that does not fit its kind. Not std::logic_error, whose
// string would link a second string library into the program.
class LayoutMismatch final : public std::exception {
 public:
  explicit LayoutMismatch(std::string text) : text_(std::move(text)) {}
  const char* what() const noexcept override { return text_.c_str(); }

 private:
  std::string text_;
};

// The row's model as the class its kind binds; checked once, when the
// window is built, so that no binder ever holds a model of another class.
template <typename Model>
Model& ModelOf(const ControlLayout& row, const char* modelClass) {
  if (auto* model = dynamic_cast<Model*>(row.model)) return *model;
  throw LayoutMismatch(std::string("layout row \"") + (row.name ? row.name : "") + "\" needs a " + modelClass +
                       " model");
}

}  // namespace

bool ShowHourglass(LPARAM hitTest) {
  if (CurrentPointer() != Pointer::Hourglass || LOWORD(hitTest) != HTCLIENT) return false;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  return true;
}

std::unique_ptr<ControlBinder> MakeBinder(const ControlLayout& row, int id, FontSet& fonts, int windowPoints) {
  HFONT font = fonts.OfSize(row.fontPoints ? row.fontPoints : windowPoints);
  switch (row.kind) {
    case ControlKind::Frame: return MakeFrameBinder(row, id, font, ModelOf<Caption>(row, "Caption"));
    case ControlKind::Label: return MakeLabelBinder(row, id, font, ModelOf<Caption>(row, "Caption"));
    case ControlKind::CheckBox: return MakeCheckBoxBinder(row, id, font, ModelOf<CheckBox>(row, "CheckBox"));
    case ControlKind::CommandButton:
      return MakeCommandButtonBinder(row, id, font, ModelOf<CommandButton>(row, "CommandButton"));
    case ControlKind::ListBox: {
      ListBox& list = ModelOf<ListBox>(row, "ListBox");
      return list.CheckBoxes() ? MakeCheckListBinder(row, id, font, list) : MakeListBoxBinder(row, id, font, list);
    }
    case ControlKind::DriveList: return MakeDriveListBinder(row, id, font, ModelOf<DriveList>(row, "DriveList"));
    case ControlKind::DirList: return MakeDirListBinder(row, id, font, ModelOf<DirList>(row, "DirList"));
    case ControlKind::FileList: return MakeFileListBinder(row, id, font, ModelOf<FileList>(row, "FileList"));
    case ControlKind::StatusBar: return MakeStatusBarBinder(row, id, font, ModelOf<StatusPanel>(row, "StatusPanel"));
  }
  throw LayoutMismatch(std::string("layout row \"") + (row.name ? row.name : "") + "\" has no known kind");
}

void AdoptLayoutCaption(Caption& model, const ControlLayout& row) {
  if (model.Text().empty() && !row.caption.empty()) model.SetText(row.caption);
}

bool ControlBinder::Create(HWND parent) {
  const WindowSpec shape = WindowToCreate();
  extraHeight_ = shape.extraHeight;
  hwnd_ = CreateWindowExW(shape.exStyle, shape.className, W(shape.text), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | shape.style,
                          0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                          GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return false;
  // The window procedure is replaced directly, with the binder in the
  // control's user data. The common controls' SetWindowSubclass keeps its
  // data in a window property read at every message, which under Wine asks
  // the server each time: filling a list of 30,000 names took seconds.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  baseProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlBinder::SubclassProc)));
  return true;
}

void ControlBinder::LayOut(int dpi, FontSet& fonts) {
  if (!hwnd_) return;
  dpi_ = dpi;
  font_ = fonts.SameSize(font_);
  const PixelRect place = PlaceAt(row_, dpi);
  SetWindowPos(hwnd_, nullptr, place.left, place.top, place.Width(), place.Height() + TwipsToPixels(extraHeight_, dpi),
               SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  SetUpWindow();
}

int ControlBinder::Scaled(int pixels) const { return ScalePixels(pixels, dpi_); }

void ControlBinder::Attach() {
  row_.model->onStateChanged = [this] { Mirror(); };
  FollowModel(true);
  Mirror();
}

void ControlBinder::Detach() {
  row_.model->onStateChanged = nullptr;
  FollowModel(false);
}

void ControlBinder::Mirror() {
  if (!hwnd_) return;
  const bool enabled = row_.model->Enabled();
  if ((IsWindowEnabled(hwnd_) != FALSE) != enabled) EnableWindow(hwnd_, enabled);
  const bool visible = row_.model->Visible();
  if (((GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0) != visible)
    ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
  ShowModelState();
}

bool ControlBinder::CanHoldFocus() const { return hwnd_ && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_TABSTOP) != 0; }

void ControlBinder::ApplyLayout(const ControlLayout& now) {
  if (!hwnd_ || row_.border == now.border) return;
  row_.border = now.border;
  const LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
  SetWindowLongW(hwnd_, GWL_STYLE, now.border ? (style | WS_BORDER) : (style & ~WS_BORDER));
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

LRESULT ControlBinder::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
      if (row_.model->MouseMove) row_.model->MouseMove();
      break;
    case WM_SETCURSOR:
      if (ShowHourglass(lParam)) return TRUE;
      break;
  }
  LRESULT result = 0;
  if (Intercept(message, wParam, lParam, result)) return result;
  return CallBase(message, wParam, lParam);
}

LRESULT CALLBACK ControlBinder::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ControlBinder*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCDESTROY) {
    const WNDPROC base = self->baseProc_;
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(base));
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    return CallWindowProcW(base, hwnd, message, wParam, lParam);
  }
  LRESULT result = 0;
  CatchFault(hwnd, "control window procedure", message, [&] { result = self->OnMessage(message, wParam, lParam); });
  return result;
}

}  // namespace zefta::win32
