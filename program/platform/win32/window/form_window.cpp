#include "platform/win32/window/form_window.h"

#include <commctrl.h>
#include <ole2.h>

#include <algorithm>

#include "platform/win32/binders/control_binder.h"
#include "platform/win32/window/drop_target.h"
#include "platform/win32/support/fault_report.h"
#include "platform/win32/binders/menu_binder.h"
#include "platform/win32/window/message_loop.h"
#include "platform/win32/support/text.h"

namespace zefta::win32 {

namespace {

constexpr wchar_t kFormClass[] = L"ZeftaForm";

std::vector<FormWindow*>& LiveForms() {
  static std::vector<FormWindow*> forms;
  return forms;
}

void RegisterFormClass(WNDPROC windowProc) {
  static const bool registered = [windowProc] {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(kIconResource));
    if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFormClass;
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
}

struct WindowStyle {
  DWORD style, exStyle;
};

WindowStyle StyleOf(const FormLayout& layout) {
  WindowStyle s{WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
  if (layout.border == BorderStyle::FixedSingle) {
    s.style |= WS_OVERLAPPED | (layout.minimizeButton ? WS_MINIMIZEBOX : 0);
    if (layout.showInTaskbar) s.exStyle |= WS_EX_APPWINDOW;
  } else {
    s.style |= WS_POPUP | WS_DLGFRAME;
    s.exStyle |= WS_EX_DLGMODALFRAME;
  }
  return s;
}

}  // namespace

FormWindow::FormWindow(Form& form, HWND owner, bool quitOnDestroy)
    : form_(form), layout_(form.Layout()), dpi_(SystemDpi()), fonts_(dpi_), quitOnDestroy_(quitOnDestroy) {
  RegisterFormClass(&FormWindow::WindowProc);
  // The binders first: a row whose model does not fit its kind fails here,
  // before any window exists.
  for (std::size_t row = 0; row < layout_.controls.size(); ++row)
    binders_.push_back(MakeBinder(layout_.controls[row], ControlIdOfRow(row), fonts_, layout_.fontPoints));
  const WindowStyle s = StyleOf(layout_);
  style_ = s.style;
  exStyle_ = s.exStyle;
  menus_ = std::make_unique<MenuBinder>(layout_.menus);
  // The size at the system's dpi, which is the dpi of the monitor the window
  // starts on unless it starts on another; LayOut fits it to its own.
  const SIZE outer = OuterSizeAt(dpi_);
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
  if (layout_.border == BorderStyle::FixedDialog) {
    // Dialog windows start in the middle of the screen.
    x = (GetSystemMetrics(SM_CXSCREEN) - outer.cx) / 2;
    y = (GetSystemMetrics(SM_CYSCREEN) - outer.cy) / 2;
  }
  const std::u16string caption = form_.CaptionText().empty() ? layout_.caption : form_.CaptionText();
  hwnd_ = CreateWindowExW(exStyle_, kFormClass, W(caption), style_, x, y, outer.cx, outer.cy, owner, menus_->Bar(),
                          GetModuleHandleW(nullptr), this);
  if (!hwnd_) return;
  LiveForms().push_back(this);
  SetPreTranslateHook(&FormWindow::PreTranslate);
  CreateControls();
  LayOut(DpiOfWindow(hwnd_));
  ConnectControls();
  HookForm();
}

FormWindow::~FormWindow() {
  Detach();
  if (hwnd_ && IsWindow(hwnd_)) {
    quitOnDestroy_ = false;
    DestroyWindow(hwnd_);
  }
  auto& forms = LiveForms();
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
  for (HICON icon : {bigIcon_, smallIcon_})
    if (icon) DestroyIcon(icon);
}

HACCEL FormWindow::Accelerators() const { return menus_->Accelerators(); }

void FormWindow::CreateControls() {
  // Frames first, so that their contents can be created inside them.
  for (const bool contained : {false, true})
    for (auto& binder : binders_) {
      const char* container = binder->Layout().container;
      if ((container != nullptr) != contained) continue;
      HWND frame = container ? Control(container) : nullptr;
      binder->Create(frame ? frame : hwnd_);
    }
  // Stacking: within each parent the first listed lies on top.
  for (auto& binder : binders_)
    if (binder->Handle())
      SetWindowPos(binder->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void FormWindow::ConnectControls() {
  // Mirror the models now and from now on.
  for (auto& binder : binders_)
    if (binder->Handle()) binder->Attach();
  menus_->Attach(hwnd_);
  // Drop targets: the window and every control, accepting as the layout says.
  RegisterDropTarget(hwnd_, form_, layout_.dropTarget);
  for (auto& binder : binders_)
    if (binder->Handle()) RegisterDropTarget(binder->Handle(), form_, binder->Layout().dropTarget);
}

void FormWindow::Detach() {
  for (auto& binder : binders_) binder->Detach();
  menus_->Detach();
  form_.onStateChanged = nullptr;
  for (auto& binder : binders_)
    if (binder->Handle() && IsWindow(binder->Handle())) RevokeDragDrop(binder->Handle());
  if (hwnd_ && IsWindow(hwnd_)) RevokeDragDrop(hwnd_);
  if (form_.Handle() == reinterpret_cast<WindowHandle>(hwnd_)) form_.SetHandle(0);
}

void FormWindow::HookForm() {
  form_.SetHandle(reinterpret_cast<WindowHandle>(hwnd_));
  form_.onStateChanged = nullptr;
  TakePlaceFromWindow();
  if (form_.CaptionText().empty()) form_.SetCaption(layout_.caption);
  shownCaption_ = form_.CaptionText();
  form_.onStateChanged = [this] { MirrorForm(); };
}

// The form's place and outer size, in twips of the screen, as the window has
// them now; nothing is mirrored back.
void FormWindow::TakePlaceFromWindow() {
  RECT rect;
  GetWindowRect(hwnd_, &rect);
  auto mirror = std::move(form_.onStateChanged);
  form_.onStateChanged = nullptr;
  form_.SetOuterSize(ScreenPixelsToTwips(rect.right - rect.left), ScreenPixelsToTwips(rect.bottom - rect.top));
  form_.Move(ScreenPixelsToTwips(rect.left), ScreenPixelsToTwips(rect.top));
  shownLeft_ = form_.Left();
  shownTop_ = form_.Top();
  form_.onStateChanged = std::move(mirror);
}

void FormWindow::MirrorForm() {
  if (!hwnd_) return;
  if (form_.CaptionText() != shownCaption_) {
    shownCaption_ = form_.CaptionText();
    SetWindowTextW(hwnd_, W(shownCaption_));
  }
  if (form_.Left() != shownLeft_ || form_.Top() != shownTop_) {
    shownLeft_ = form_.Left();
    shownTop_ = form_.Top();
    SetWindowPos(hwnd_, nullptr, TwipsToScreenPixels(shownLeft_), TwipsToScreenPixels(shownTop_), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

HWND FormWindow::Control(std::string_view name) const {
  for (const auto& binder : binders_)
    if (binder->Layout().name && name == binder->Layout().name) return binder->Handle();
  return nullptr;
}

ControlBinder* FormWindow::BinderById(int id) const {
  const int row = id - kFirstControlId;
  if (row < 0 || row >= static_cast<int>(binders_.size())) return nullptr;
  return binders_[static_cast<std::size_t>(row)].get();
}

ControlBinder* FormWindow::BinderByWindow(HWND hwnd) const {
  for (const auto& binder : binders_) {
    HWND own = binder->Handle();
    if (!own || (own != hwnd && !IsChild(own, hwnd))) continue;
    // A control inside a frame has its own binder, not the frame's.
    if (binder->Layout().kind == ControlKind::Frame && own != hwnd) continue;
    return binder.get();
  }
  return nullptr;
}

void FormWindow::ApplyLayoutChanges() {
  const FormLayout now = form_.Layout();
  for (std::size_t row = 0; row < binders_.size() && row < now.controls.size(); ++row)
    binders_[row]->ApplyLayout(now.controls[row]);
}

void FormWindow::Show(int showCommand) {
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
  lastFocus_ = nullptr;
  MoveFocus(false);
}

void FormWindow::MoveFocus(bool backwards) {
  std::vector<ControlBinder*> candidates;
  for (auto& binder : binders_)
    if (binder->Handle() && binder->CanHoldFocus() && IsWindowVisible(binder->Handle()) &&
        IsWindowEnabled(binder->Handle()))
      candidates.push_back(binder.get());
  if (candidates.empty()) return;
  const auto tab = [](const ControlBinder* b) { return b->Layout().tabIndex; };
  std::stable_sort(candidates.begin(), candidates.end(), [&](auto* a, auto* b) { return tab(a) < tab(b); });
  const ControlBinder* current = BinderByWindow(GetFocus());
  ControlBinder* next = nullptr;
  if (!current) {
    next = backwards ? candidates.back() : candidates.front();
  } else if (backwards) {
    for (auto it = candidates.rbegin(); it != candidates.rend() && !next; ++it)
      if (tab(*it) < tab(current)) next = *it;
    if (!next) next = candidates.back();
  } else {
    for (ControlBinder* binder : candidates)
      if (!next && tab(binder) > tab(current)) next = binder;
    if (!next) next = candidates.front();
  }
  SetFocus(next->Handle());
}

bool FormWindow::PreTranslate(MSG& message) {
  // Called by the message loops, outside any window procedure.
  bool handled = false;
  CatchFault(message.hwnd, "keyboard", message.message, [&] { handled = TranslateKeys(message); });
  return handled;
}

bool FormWindow::TranslateKeys(MSG& message) {
  if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST || !message.hwnd) return false;
  const HWND root = GetAncestor(message.hwnd, GA_ROOT);
  for (FormWindow* form : LiveForms()) {
    if (form->hwnd_ != root) continue;
    if (form->Accelerators() && TranslateAcceleratorW(root, form->Accelerators(), &message)) return true;
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE && form->form_.Escape()) return true;
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && !(GetKeyState(VK_CONTROL) & 0x8000) &&
        !(GetKeyState(VK_MENU) & 0x8000)) {
      // The tab order of the layout, which differs from the stacking order
      // that the dialog manager would follow.
      form->MoveFocus((GetKeyState(VK_SHIFT) & 0x8000) != 0);
      return true;
    }
    return false;
  }
  return false;
}

LRESULT CALLBACK FormWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  FormWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  LRESULT result = 0;
  CatchFault(hwnd, "window procedure", message, [&] { result = self->OnMessage(hwnd, message, wParam, lParam); });
  return result;
}

LRESULT FormWindow::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (ControlBinder* binder = BinderById(static_cast<int>(item->CtlID)); binder && binder->DrawRow(*item))
        return TRUE;
      break;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
      SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_MOUSEMOVE:
      if (form_.MouseMove) form_.MouseMove();
      return 0;
    case WM_MENUSELECT:
      // An item of an open menu highlighted (not a popup, not the menu closing).
      if (!(HIWORD(wParam) & MF_POPUP) && HIWORD(wParam) != 0xFFFF) menus_->OnSelect(LOWORD(wParam));
      break;
    case WM_EXITMENULOOP:
      form_.MenuClosed();
      break;
    case WM_SETCURSOR:
      if (ShowHourglass(lParam)) return TRUE;
      break;
    case WM_GETMINMAXINFO:
      AllowLayoutSize(*reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case kWmGetDpiScaledSize:
      // Asked before a move to a monitor of another dpi, so that the
      // suggested rectangle of WM_DPICHANGED has the size the twips give.
      *reinterpret_cast<SIZE*>(lParam) = OuterSizeAt(static_cast<int>(wParam));
      return TRUE;
    case WM_ACTIVATE:
      if (OnActivate(wParam)) return 0;
      break;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DESTROY:
      Detach();
      if (quitOnDestroy_) PostQuitMessage(0);
      break;
    case WM_NCDESTROY:
      hwnd_ = nullptr;
      for (auto& binder : binders_) binder->Forget();
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void FormWindow::OnCommand(int id, int code, HWND control) {
  // Menus and accelerators send no control window.
  if (!control) {
    menus_->OnCommand(id);
    return;
  }
  if (ControlBinder* binder = BinderById(id)) binder->PassInputToModel(code);
}

// Keeps the focus on the control that had it, as dialogs do; true when the
// focus was placed here.
bool FormWindow::OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
    return false;
  }
  if (lastFocus_ && IsWindow(lastFocus_) && IsWindowEnabled(lastFocus_) && IsWindowVisible(lastFocus_)) {
    SetFocus(lastFocus_);
    return true;
  }
  if (HIWORD(wParam)) return false;  // minimized
  MoveFocus(false);
  return true;
}

void FormWindow::OnClose() {
  // A fault while the form prepares to close (reported at once) must not
  // keep the window open for good: it closes all the same.
  bool unload = true;
  CatchFault(hwnd_, "closing", WM_CLOSE, [&] { unload = form_.QueryUnload(); });
  if (!unload) return;
  if (form_.onUnload) form_.Unload();
  else DestroyWindow(hwnd_);
}

}  // namespace zefta::win32
