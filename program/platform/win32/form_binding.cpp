#include "platform/win32/form_binding.h"

#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <string>

#include "platform/win32/services_win32.h"
#include "platform/win32/text.h"

namespace zefta::win32 {

namespace {

constexpr wchar_t kFormClass[] = L"ZeftaForm";
// Timer of a list box whose highlight waits to be moved, and how often a run
// walking down a list moves it.
constexpr UINT_PTR kHighlightTimer = 0x5A45;
constexpr DWORD kHighlightInterval = 100;

std::vector<FormWindow*>& LiveForms() {
  static std::vector<FormWindow*> forms;
  return forms;
}

int ScreenDpi(int index) {
  static int dpi[2] = {0, 0};
  int& cached = dpi[index == LOGPIXELSX ? 0 : 1];
  if (cached == 0) {
    HDC dc = GetDC(nullptr);
    cached = GetDeviceCaps(dc, index);
    ReleaseDC(nullptr, dc);
    if (cached <= 0) cached = 96;
  }
  return cached;
}

// Model handlers run inside window procedures: nothing may unwind through
// the system's frames.
template <typename F>
void Guarded(F&& f) {
  try {
    f();
  } catch (...) {
  }
}

bool HourglassWanted(LPARAM lParam) { return CurrentPointer() == Pointer::Hourglass && LOWORD(lParam) == HTCLIENT; }

// "Ctrl+X" and the like; false for anything else.
bool ParseShortcut(std::u16string_view text, ACCEL& accel) {
  BYTE flags = FVIRTKEY;
  for (;;) {
    if (text.starts_with(u"Ctrl+")) flags |= FCONTROL, text.remove_prefix(5);
    else if (text.starts_with(u"Shift+")) flags |= FSHIFT, text.remove_prefix(6);
    else if (text.starts_with(u"Alt+")) flags |= FALT, text.remove_prefix(4);
    else break;
  }
  WORD key = 0;
  if (text.size() == 1 && ((text[0] >= u'A' && text[0] <= u'Z') || (text[0] >= u'0' && text[0] <= u'9'))) {
    key = static_cast<WORD>(text[0]);
  } else if (text.size() >= 2 && text[0] == u'F') {
    int n = 0;
    for (char16_t c : text.substr(1)) n = (c >= u'0' && c <= u'9') ? n * 10 + (c - u'0') : 99;
    if (n >= 1 && n <= 12) key = static_cast<WORD>(VK_F1 + n - 1);
  }
  if (key == 0) return false;
  accel.fVirt = flags;
  accel.key = key;
  return true;
}

int TextHeight(HFONT font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return metrics.tmHeight;
}

void DrawFolderGlyph(HDC dc, int x, int y, bool open) {
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(128, 96, 0));
  HBRUSH brush = CreateSolidBrush(open ? RGB(255, 236, 150) : RGB(240, 200, 80));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  // Tab, then the body; an open folder shows its flap tilted forward.
  Rectangle(dc, x, y, x + 6, y + 3);
  Rectangle(dc, x, y + 2, x + 14, y + 12);
  if (open) {
    POINT flap[4] = {{x + 2, y + 5}, {x + 16, y + 5}, {x + 14, y + 11}, {x, y + 11}};
    Polygon(dc, flap, 4);
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

class DropTarget;

}  // namespace

int TwipsToPixelsX(int twips) { return MulDiv(twips, ScreenDpi(LOGPIXELSX), 1440); }
int TwipsToPixelsY(int twips) { return MulDiv(twips, ScreenDpi(LOGPIXELSY), 1440); }
int PixelsToTwipsX(int pixels) { return MulDiv(pixels, 1440, ScreenDpi(LOGPIXELSX)); }
int PixelsToTwipsY(int pixels) { return MulDiv(pixels, 1440, ScreenDpi(LOGPIXELSY)); }

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

namespace {

// OLE drop target of the window or one control. Targets not marked in the
// layout are registered too, so a drag over them is refused instead of
// reaching the drop target of the window behind them. A window disabled by a
// modal window over it takes no drop, as it takes no click.
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
    data_ = Read(object);
    return Over(effect);
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override { return Over(effect); }
  HRESULT STDMETHODCALLTYPE DragLeave() override {
    data_ = {};
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* object, DWORD, POINTL, DWORD* effect) override {
    data_ = Read(object);
    Over(effect);
    if (Accepting()) Guarded([&] { form_.OLEDragDrop(data_); });
    data_ = {};
    return S_OK;
  }

 private:
  bool Accepting() const { return accepts_ && IsWindowEnabled(GetAncestor(hwnd_, GA_ROOT)); }
  HRESULT Over(DWORD* effect) {
    const int requested = static_cast<int>(*effect);
    int result = kDropEffectNone;
    if (Accepting()) Guarded([&] { result = form_.OLEDragOver(data_, requested); });
    *effect = static_cast<DWORD>(result);
    return S_OK;
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

struct FormWindow::Slot {
  FormWindow* window;
  ControlLayout layout;
  int id;
  HWND hwnd = nullptr;
  HFONT font = nullptr;
  int itemHeight = 16;
  std::vector<std::u16string> shownDrives;
  // The highlight of a single-choice or check list as the model last asked
  // for it, while that is not shown yet.
  bool highlightPending = false;
  int pendingHighlight = -1;
  DWORD lastHighlight = 0;

  template <typename T>
  T* Model() const {
    return static_cast<T*>(layout.model);
  }
  bool IsListLike() const {
    return layout.kind == ControlKind::ListBox || layout.kind == ControlKind::DirList ||
           layout.kind == ControlKind::FileList;
  }
  bool CanHoldFocus() const {
    switch (layout.kind) {
      case ControlKind::CheckBox:
      case ControlKind::CommandButton:
      case ControlKind::ListBox:
      case ControlKind::DriveList:
      case ControlKind::DirList:
      case ControlKind::FileList:
        return true;
      default:
        return false;
    }
  }

  void Mirror();
  void MirrorList(ListBox::Change change, int index);
  void FillList(const std::vector<std::u16string>& items);
  void SetHighlight(int index);
  int ShownHighlight() const;
  void ShowPendingHighlight();
  void DropPendingHighlight();
  void UserSelectionChanged();
  void ToggleCheck(int index);
  void DrawItem(const DRAWITEMSTRUCT& item);
  // The control's own window procedure, called for what the slot leaves to it.
  WNDPROC baseProc = nullptr;
  LRESULT CallBase(HWND control, UINT message, WPARAM wParam, LPARAM lParam) const {
    return CallWindowProcW(baseProc, control, message, wParam, lParam);
  }
  void Subclass();
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

void FormWindow::Slot::Mirror() {
  if (!hwnd) return;
  ControlBase* model = layout.model;
  if (!model) return;
  const bool enabled = model->Enabled();
  if ((IsWindowEnabled(hwnd) != FALSE) != enabled) EnableWindow(hwnd, enabled);
  const bool visible = model->Visible();
  if (((GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0) != visible) ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);

  switch (layout.kind) {
    case ControlKind::Frame:
    case ControlKind::Label: {
      const std::u16string& text = Model<Caption>()->Text();
      SetWindowTextW(hwnd, W(text));
      break;
    }
    case ControlKind::CheckBox: {
      static constexpr WPARAM states[] = {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};
      const int value = std::clamp(Model<CheckBox>()->Value(), 0, 2);
      if (SendMessageW(hwnd, BM_GETCHECK, 0, 0) != static_cast<LRESULT>(states[value]))
        SendMessageW(hwnd, BM_SETCHECK, states[value], 0);
      break;
    }
    case ControlKind::StatusBar: {
      auto* panel = Model<StatusPanel>();
      int right = panel->Spring() ? -1 : TwipsToPixelsX(1440);
      SendMessageW(hwnd, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&right));
      SendMessageW(hwnd, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(W(panel->Text())));
      break;
    }
    case ControlKind::DriveList: {
      auto* drives = Model<DriveList>();
      if (drives->Drives() != shownDrives) {
        shownDrives = drives->Drives();
        SendMessageW(hwnd, CB_RESETCONTENT, 0, 0);
        for (const auto& drive : shownDrives) SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(drive)));
      }
      SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(drives->ListIndex()), 0);
      break;
    }
    case ControlKind::DirList: {
      auto* dirs = Model<DirList>();
      std::vector<std::u16string> texts;
      for (const auto& row : dirs->Rows()) texts.push_back(row.text);
      FillList(texts);
      SendMessageW(hwnd, LB_SETCURSEL, static_cast<WPARAM>(dirs->CurrentRow()), 0);
      break;
    }
    case ControlKind::FileList:
      FillList(Model<FileList>()->Files());
      break;
    default:
      break;
  }
}

void FormWindow::Slot::FillList(const std::vector<std::u16string>& items) {
  SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
  SendMessageW(hwnd, LB_RESETCONTENT, 0, 0);
  std::size_t bytes = 0;
  for (const auto& item : items) bytes += (item.size() + 1) * sizeof(wchar_t);
  SendMessageW(hwnd, LB_INITSTORAGE, items.size(), static_cast<LPARAM>(bytes));
  for (const auto& item : items) SendMessageW(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(item)));
  SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd, nullptr, TRUE);
}

// Moving the highlight scrolls the list and repaints it and its scroll bar at
// once, which takes milliseconds (under Wine several). A run that walks down
// thousands of entries would spend more on that than on its renames, so the
// highlight moves at most every kHighlightInterval; a move asked for sooner
// is shown by a timer, which the run's event loop serves.
void FormWindow::Slot::SetHighlight(int index) {
  if (highlightPending) {
    pendingHighlight = index;
    return;
  }
  const DWORD now = GetTickCount();
  if (now - lastHighlight >= kHighlightInterval) {
    lastHighlight = now;
    SendMessageW(hwnd, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    return;
  }
  highlightPending = true;
  pendingHighlight = index;
  SetTimer(hwnd, kHighlightTimer, kHighlightInterval, nullptr);
}

int FormWindow::Slot::ShownHighlight() const {
  return highlightPending ? pendingHighlight : static_cast<int>(SendMessageW(hwnd, LB_GETCURSEL, 0, 0));
}

void FormWindow::Slot::ShowPendingHighlight() {
  if (!highlightPending) return;
  DropPendingHighlight();
  lastHighlight = GetTickCount();
  SendMessageW(hwnd, LB_SETCURSEL, static_cast<WPARAM>(pendingHighlight), 0);
}

void FormWindow::Slot::DropPendingHighlight() {
  if (!highlightPending) return;
  highlightPending = false;
  KillTimer(hwnd, kHighlightTimer);
}

void FormWindow::Slot::MirrorList(ListBox::Change change, int index) {
  if (!hwnd) return;
  auto* list = Model<ListBox>();
  const bool multiple = list->SelectionMode() == ListBox::Selection::Extended && !list->CheckBoxes();
  auto showSelection = [&](int i) {
    if (i < 0 || i >= list->Count()) return;
    if (list->CheckBoxes()) {
      // Only a mark in view is painted now; the others are drawn as they
      // scroll in. Loading thousands of checked entries stays quick.
      RECT rect, client;
      if (SendMessageW(hwnd, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect)) != LB_ERR &&
          GetClientRect(hwnd, &client) && rect.bottom > client.top && rect.top < client.bottom)
        InvalidateRect(hwnd, &rect, FALSE);
    } else if (multiple) {
      SendMessageW(hwnd, LB_SETSEL, list->Selected(i), static_cast<LPARAM>(i));
    } else if (list->Selected(i)) {
      SetHighlight(i);
    } else if (ShownHighlight() == i) {
      SetHighlight(-1);
    }
  };
  auto showCurrent = [&] {
    const int current = list->ListIndex();
    if (multiple) {
      if (current >= 0) SendMessageW(hwnd, LB_SETCARETINDEX, static_cast<WPARAM>(current), FALSE);
    } else if (list->CheckBoxes() || current >= 0 || list->SelectedIndexes().empty()) {
      SetHighlight(current);
    }
  };
  switch (change) {
    case ListBox::Change::Reset:
      DropPendingHighlight();
      FillList(list->Items());
      for (int i : list->SelectedIndexes()) showSelection(i);
      if (list->ListIndex() >= 0) showCurrent();
      break;
    case ListBox::Change::Added:
      SendMessageW(hwnd, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(W(list->Item(index))));
      if (list->Selected(index)) showSelection(index);
      break;
    case ListBox::Change::Selection:
      showSelection(index);
      break;
    case ListBox::Change::Current:
      showCurrent();
      break;
  }
}

void FormWindow::Slot::UserSelectionChanged() {
  auto* list = Model<ListBox>();
  // The user's choice is newer than any highlight still waiting to be shown.
  DropPendingHighlight();
  const int count = static_cast<int>(SendMessageW(hwnd, LB_GETCOUNT, 0, 0));
  std::vector<char> selected(static_cast<std::size_t>(std::max(count, 0)), 0);
  int current = -1;
  if (list->CheckBoxes()) {
    // The check marks are the selection; the highlight is only the current item.
    for (int i : list->SelectedIndexes())
      if (i < count) selected[static_cast<std::size_t>(i)] = 1;
    current = static_cast<int>(SendMessageW(hwnd, LB_GETCURSEL, 0, 0));
  } else if (list->SelectionMode() == ListBox::Selection::Extended) {
    const int n = static_cast<int>(SendMessageW(hwnd, LB_GETSELCOUNT, 0, 0));
    if (n > 0) {
      std::vector<int> indexes(static_cast<std::size_t>(n));
      const int got = static_cast<int>(SendMessageW(hwnd, LB_GETSELITEMS, n, reinterpret_cast<LPARAM>(indexes.data())));
      for (int k = 0; k < got; ++k)
        if (indexes[static_cast<std::size_t>(k)] >= 0 && indexes[static_cast<std::size_t>(k)] < count)
          selected[static_cast<std::size_t>(indexes[static_cast<std::size_t>(k)])] = 1;
    }
    current = static_cast<int>(SendMessageW(hwnd, LB_GETCARETINDEX, 0, 0));
  } else {
    current = static_cast<int>(SendMessageW(hwnd, LB_GETCURSEL, 0, 0));
    if (current >= 0 && current < count) selected[static_cast<std::size_t>(current)] = 1;
  }
  if (current >= count) current = -1;
  list->AssignSelectionFromView(std::move(selected), current < 0 ? -1 : current);
  if (list->Click) list->Click();
}

void FormWindow::Slot::ToggleCheck(int index) {
  auto* list = Model<ListBox>();
  if (index < 0 || index >= list->Count()) return;
  std::vector<char> checks(static_cast<std::size_t>(list->Count()), 0);
  for (int i : list->SelectedIndexes()) checks[static_cast<std::size_t>(i)] = 1;
  checks[static_cast<std::size_t>(index)] = !checks[static_cast<std::size_t>(index)];
  list->AssignSelectionFromView(std::move(checks), index);
  MirrorList(ListBox::Change::Selection, index);
  if (list->Click) list->Click();
}

void FormWindow::Slot::DrawItem(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1)) return;
  HDC dc = item.hDC;
  RECT rect = item.rcItem;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  const int height = rect.bottom - rect.top;
  std::u16string text;
  int x = rect.left + 2;
  if (layout.kind == ControlKind::DirList) {
    const auto& rows = Model<DirList>()->Rows();
    if (item.itemID >= rows.size()) return;
    const auto& row = rows[item.itemID];
    x += row.level * 12;
    DrawFolderGlyph(dc, x, rect.top + (height - 12) / 2, row.open);
    x += 20;
    text = row.text;
  } else {
    auto* list = Model<ListBox>();
    if (static_cast<int>(item.itemID) >= list->Count()) return;
    const int box = std::max(8, height - 4);
    RECT check{x, rect.top + (height - box) / 2, x + box, rect.top + (height - box) / 2 + box};
    DrawFrameControl(dc, &check, DFC_BUTTON,
                     DFCS_BUTTONCHECK | DFCS_FLAT | (list->Selected(static_cast<int>(item.itemID)) ? DFCS_CHECKED : 0));
    x += box + 4;
    text = list->Item(static_cast<int>(item.itemID));
  }
  RECT textRect{x, rect.top, rect.right, rect.bottom};
  DrawTextW(dc, W(text), -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &rect);
}

// The window procedure is replaced directly, with the slot in the control's
// user data. The common controls' SetWindowSubclass keeps its data in a window
// property read at every message, which under Wine asks the server each time:
// filling a list of 30,000 names took seconds instead of milliseconds.
void FormWindow::Slot::Subclass() {
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  baseProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Slot::SubclassProc)));
}

LRESULT CALLBACK FormWindow::Slot::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* slot = reinterpret_cast<Slot*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_TIMER:
      if (wParam == kHighlightTimer) {
        slot->ShowPendingHighlight();
        return 0;
      }
      break;
    case WM_MOUSEMOVE:
      if (slot->layout.model && slot->layout.model->MouseMove) Guarded([&] { slot->layout.model->MouseMove(); });
      break;
    case WM_SETCURSOR:
      if (HourglassWanted(lParam)) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_ERASEBKGND:
      // The frame holds its controls itself, so the window behind it no
      // longer paints that area.
      if (slot->layout.kind == ControlKind::Frame) {
        RECT rect;
        GetClientRect(hwnd, &rect);
        FillRect(reinterpret_cast<HDC>(wParam), &rect, GetSysColorBrush(COLOR_BTNFACE));
        return TRUE;
      }
      break;
    case WM_NCHITTEST:
      // A group box is transparent to the mouse by default; the frame has
      // its own mouse moves and drops.
      if (slot->layout.kind == ControlKind::Frame) return HTCLIENT;
      break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
      // Controls inside a frame report to the window.
      if (slot->layout.kind == ControlKind::Frame) return SendMessageW(slot->window->hwnd_, message, wParam, lParam);
      break;
    case WM_KEYDOWN:
      if (slot->layout.kind == ControlKind::DirList && wParam == VK_RETURN) {
        const int row = static_cast<int>(SendMessageW(hwnd, LB_GETCURSEL, 0, 0));
        if (row >= 0) Guarded([&] { slot->Model<DirList>()->OpenRow(row); });
        return 0;
      }
      if (slot->layout.kind == ControlKind::ListBox && slot->Model<ListBox>()->CheckBoxes() && wParam == VK_SPACE) {
        const int index = static_cast<int>(SendMessageW(hwnd, LB_GETCARETINDEX, 0, 0));
        Guarded([&] { slot->ToggleCheck(index); });
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
      if (slot->layout.kind == ControlKind::ListBox && slot->Model<ListBox>()->CheckBoxes()) {
        const LRESULT hit = SendMessageW(hwnd, LB_ITEMFROMPOINT, 0, lParam);
        const LRESULT result = slot->CallBase(hwnd, message, wParam, lParam);
        // A click on the check box itself flips the mark.
        if (HIWORD(hit) == 0 && GET_X_LPARAM(lParam) < slot->itemHeight + 2)
          Guarded([&] { slot->ToggleCheck(LOWORD(hit)); });
        return result;
      }
      break;
    case WM_NCDESTROY: {
      const WNDPROC base = slot->baseProc;
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(base));
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      return CallWindowProcW(base, hwnd, message, wParam, lParam);
    }
  }
  return slot->CallBase(hwnd, message, wParam, lParam);
}

FormWindow::FormWindow(Form& form, HWND owner, bool quitOnDestroy)
    : form_(form), layout_(form.Layout()), quitOnDestroy_(quitOnDestroy) {
  static const bool ready = [] {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &FormWindow::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
    if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.hIconSm = static_cast<HICON>(LoadImageW(wc.hInstance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFormClass;
    return RegisterClassExW(&wc) != 0;
  }();
  (void)ready;

  DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  DWORD exStyle = WS_EX_CONTROLPARENT;
  if (layout_.border == BorderStyle::FixedSingle) {
    style |= WS_OVERLAPPED;
    if (layout_.minimizeButton) style |= WS_MINIMIZEBOX;
    if (layout_.showInTaskbar) exStyle |= WS_EX_APPWINDOW;
  } else {
    style |= WS_POPUP | WS_DLGFRAME;
    exStyle |= WS_EX_DLGMODALFRAME;
  }
  CreateMenus();

  RECT outer{0, 0, TwipsToPixelsX(layout_.clientWidth), TwipsToPixelsY(layout_.clientHeight)};
  AdjustWindowRectEx(&outer, style, menuBar_ != nullptr, exStyle);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
  if (layout_.border == BorderStyle::FixedDialog) {
    // Dialog windows start in the middle of the screen.
    x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  }
  const std::u16string caption = form_.CaptionText().empty() ? layout_.caption : form_.CaptionText();
  hwnd_ = CreateWindowExW(exStyle, kFormClass, W(caption), style, x, y, width, height, owner, menuBar_,
                          GetModuleHandleW(nullptr), this);
  if (!hwnd_) return;
  LiveForms().push_back(this);
  SetPreTranslateHook(&FormWindow::PreTranslate);
  FitClientArea();
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontOfSize(layout_.fontPoints)), FALSE);
  CreateControls();
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
  for (auto& [points, font] : fonts_) DeleteObject(font);
  if (statusFont_) DeleteObject(statusFont_);
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
}

void FormWindow::Detach() {
  for (auto& slot : slots_) {
    if (!slot->layout.model) continue;
    slot->layout.model->onStateChanged = nullptr;
    if (slot->layout.kind == ControlKind::ListBox) slot->Model<ListBox>()->onListChanged = nullptr;
  }
  for (const auto& menu : layout_.menus)
    if (menu.model) menu.model->onStateChanged = nullptr;
  form_.onStateChanged = nullptr;
  for (auto& slot : slots_)
    if (slot->hwnd && IsWindow(slot->hwnd)) RevokeDragDrop(slot->hwnd);
  if (hwnd_ && IsWindow(hwnd_)) RevokeDragDrop(hwnd_);
  if (form_.Handle() == reinterpret_cast<WindowHandle>(hwnd_)) form_.SetHandle(0);
}

HFONT FormWindow::FontOfSize(int points) {
  for (auto& [size, font] : fonts_)
    if (size == points) return font;
  const int height = -MulDiv(points, ScreenDpi(LOGPIXELSY), 72);
  HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, reinterpret_cast<const wchar_t*>(kFontFace));
  fonts_.emplace_back(points, font);
  return font;
}

void FormWindow::FitClientArea() {
  // The menu bar may take more than the one line AdjustWindowRectEx counts.
  RECT client, window;
  GetClientRect(hwnd_, &client);
  GetWindowRect(hwnd_, &window);
  const int dx = TwipsToPixelsX(layout_.clientWidth) - (client.right - client.left);
  const int dy = TwipsToPixelsY(layout_.clientHeight) - (client.bottom - client.top);
  if (dx != 0 || dy != 0)
    SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left + dx, window.bottom - window.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::CreateMenus() {
  if (layout_.menus.empty()) return;
  menuBar_ = CreateMenu();
  HMENU popup = nullptr;
  std::vector<ACCEL> accels;
  for (std::size_t i = 0; i < layout_.menus.size(); ++i) {
    const MenuLayout& menu = layout_.menus[i];
    const UINT id = static_cast<UINT>(MenuIdOfRow(i));
    if (menu.level == 0 || !popup) {
      popup = CreatePopupMenu();
      AppendMenuW(menuBar_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), W(menu.caption));
      continue;
    }
    if (menu.caption == u"-") {
      AppendMenuW(popup, MF_SEPARATOR, id, nullptr);
      continue;
    }
    std::u16string text = menu.caption;
    if (!menu.shortcut.empty()) text += u"\t" + menu.shortcut;
    AppendMenuW(popup, MF_STRING, id, W(text));
    ACCEL accel{};
    if (ParseShortcut(menu.shortcut, accel)) {
      accel.cmd = static_cast<WORD>(id);
      accels.push_back(accel);
    }
  }
  if (!accels.empty()) accelerators_ = CreateAcceleratorTableW(accels.data(), static_cast<int>(accels.size()));
}

void FormWindow::CreateControls() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  for (std::size_t i = 0; i < layout_.controls.size(); ++i) {
    auto slot = std::make_unique<Slot>();
    slot->window = this;
    slot->layout = layout_.controls[i];
    slot->id = ControlIdOfRow(i);
    slot->font = FontOfSize(slot->layout.fontPoints ? slot->layout.fontPoints : layout_.fontPoints);
    slot->itemHeight = std::max(16, TextHeight(slot->font) + 2);
    // Frame captions start as the layout gives them.
    if ((slot->layout.kind == ControlKind::Frame || slot->layout.kind == ControlKind::Label) && slot->layout.model) {
      auto* caption = slot->Model<Caption>();
      if (caption->Text().empty() && !slot->layout.caption.empty()) caption->SetText(slot->layout.caption);
    }
    slots_.push_back(std::move(slot));
  }
  // Frames first, so that their contents can be created inside them.
  std::vector<Slot*> order;
  for (auto& slot : slots_)
    if (!slot->layout.container) order.push_back(slot.get());
  for (auto& slot : slots_)
    if (slot->layout.container) order.push_back(slot.get());

  for (Slot* slot : order) {
    const ControlLayout& c = slot->layout;
    HWND parent = hwnd_;
    if (c.container) {
      HWND frame = Control(c.container);
      if (frame) parent = frame;
    }
    const wchar_t* className = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    std::u16string text = c.caption;
    int height = TwipsToPixelsY(c.height);
    switch (c.kind) {
      case ControlKind::Frame:
        className = L"BUTTON";
        style |= BS_GROUPBOX | WS_CLIPCHILDREN;
        exStyle |= WS_EX_CONTROLPARENT;
        text = slot->Model<Caption>() ? slot->Model<Caption>()->Text() : c.caption;
        break;
      case ControlKind::Label:
        style |= SS_NOTIFY | (c.centered ? SS_CENTER : SS_LEFT) | (c.border ? WS_BORDER : 0);
        if (slot->Model<Caption>()) text = slot->Model<Caption>()->Text();
        break;
      case ControlKind::CheckBox:
        className = L"BUTTON";
        // Not automatic: the model decides the next state, and 2 shows grey.
        style |= BS_3STATE | WS_TABSTOP;
        break;
      case ControlKind::CommandButton:
        className = L"BUTTON";
        style |= BS_PUSHBUTTON | WS_TABSTOP;
        break;
      case ControlKind::ListBox: {
        className = L"LISTBOX";
        // No LBS_SORT: the model keeps its own order.
        style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
        exStyle |= WS_EX_CLIENTEDGE;
        auto* list = slot->Model<ListBox>();
        if (list->CheckBoxes()) style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
        else if (list->SelectionMode() == ListBox::Selection::Extended) style |= LBS_EXTENDEDSEL;
        text.clear();
        break;
      }
      case ControlKind::DriveList:
        className = L"COMBOBOX";
        style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
        height += TwipsToPixelsY(3000);  // the drop-down part
        text.clear();
        break;
      case ControlKind::DirList:
        className = L"LISTBOX";
        style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP;
        exStyle |= WS_EX_CLIENTEDGE;
        text.clear();
        break;
      case ControlKind::FileList:
        className = L"LISTBOX";
        style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
        exStyle |= WS_EX_CLIENTEDGE;
        text.clear();
        break;
      case ControlKind::StatusBar:
        className = STATUSCLASSNAMEW;
        style |= CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
        text.clear();
        break;
    }
    slot->hwnd = CreateWindowExW(exStyle, className, W(text), style, TwipsToPixelsX(c.left), TwipsToPixelsY(c.top),
                                 TwipsToPixelsX(c.width), height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(slot->id)), instance, nullptr);
    if (!slot->hwnd) continue;
    if (c.kind == ControlKind::StatusBar) {
      if (!statusFont_) {
        statusFont_ = CreateFontW(-MulDiv(9, ScreenDpi(LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                  SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  FIXED_PITCH | FF_MODERN, reinterpret_cast<const wchar_t*>(kFontFace));
      }
      SendMessageW(slot->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(statusFont_), FALSE);
    } else {
      SendMessageW(slot->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(slot->font), FALSE);
    }
    if (c.kind == ControlKind::DriveList) {
      // The closed drive list takes the height of its layout. Systems differ
      // in how the field height maps to the window's, so it is approached by
      // measuring.
      int field = static_cast<int>(SendMessageW(slot->hwnd, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
      for (int attempt = 0; attempt < 4; ++attempt) {
        RECT rect;
        GetWindowRect(slot->hwnd, &rect);
        const int diff = TwipsToPixelsY(c.height) - (rect.bottom - rect.top);
        if (diff == 0 || field + diff <= 0) break;
        field += diff;
        SendMessageW(slot->hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
      }
    }
    if (c.kind == ControlKind::DirList || (c.kind == ControlKind::ListBox && slot->Model<ListBox>()->CheckBoxes()))
      SendMessageW(slot->hwnd, LB_SETITEMHEIGHT, 0, slot->itemHeight);
    slot->Subclass();
  }

  // Stacking: within each parent the first listed lies on top.
  for (auto& slot : slots_)
    if (slot->hwnd)
      SetWindowPos(slot->hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  // Mirror the models now and from now on.
  for (auto& slotPointer : slots_) {
    Slot* slot = slotPointer.get();
    if (!slot->hwnd || !slot->layout.model) continue;
    slot->layout.model->onStateChanged = [slot] { slot->Mirror(); };
    if (slot->layout.kind == ControlKind::ListBox) {
      slot->Model<ListBox>()->onListChanged = [slot](ListBox::Change change, int index) {
        slot->MirrorList(change, index);
      };
      slot->MirrorList(ListBox::Change::Reset, -1);
    }
    slot->Mirror();
  }
  for (std::size_t i = 0; i < layout_.menus.size(); ++i) {
    MenuItem* model = layout_.menus[i].model;
    if (!model) continue;
    const UINT id = static_cast<UINT>(MenuIdOfRow(i));
    int position = -1;
    if (layout_.menus[i].level == 0) {
      position = 0;
      for (std::size_t k = 0; k < i; ++k) position += layout_.menus[k].level == 0;
    }
    auto mirror = [this, model, id, position] {
      if (!menuBar_) return;
      if (position >= 0) {
        EnableMenuItem(menuBar_, static_cast<UINT>(position), MF_BYPOSITION | (model->Enabled() ? MF_ENABLED : MF_GRAYED));
        DrawMenuBar(hwnd_);
      } else {
        EnableMenuItem(menuBar_, id, MF_BYCOMMAND | (model->Enabled() ? MF_ENABLED : MF_GRAYED));
        CheckMenuItem(menuBar_, id, MF_BYCOMMAND | (model->Checked() ? MF_CHECKED : MF_UNCHECKED));
      }
    };
    model->onStateChanged = mirror;
    mirror();
  }

  // Drop targets: the window and every control, accepting as the layout says.
  auto registerTarget = [this](HWND hwnd, bool accepts) {
    auto* target = new DropTarget(form_, hwnd, accepts);
    RegisterDragDrop(hwnd, target);
    target->Release();
  };
  registerTarget(hwnd_, layout_.dropTarget);
  for (auto& slot : slots_)
    if (slot->hwnd) registerTarget(slot->hwnd, slot->layout.dropTarget);
}

void FormWindow::HookForm() {
  form_.SetHandle(reinterpret_cast<WindowHandle>(hwnd_));
  RECT rect;
  GetWindowRect(hwnd_, &rect);
  form_.SetOuterSize(PixelsToTwipsX(rect.right - rect.left), PixelsToTwipsY(rect.bottom - rect.top));
  form_.onStateChanged = nullptr;
  form_.Move(PixelsToTwipsX(rect.left), PixelsToTwipsY(rect.top));
  shownLeft_ = form_.Left();
  shownTop_ = form_.Top();
  if (form_.CaptionText().empty()) form_.SetCaption(layout_.caption);
  shownCaption_ = form_.CaptionText();
  form_.onStateChanged = [this] { MirrorForm(); };
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
    SetWindowPos(hwnd_, nullptr, TwipsToPixelsX(shownLeft_), TwipsToPixelsY(shownTop_), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

HWND FormWindow::Control(std::string_view name) const {
  for (const auto& slot : slots_)
    if (slot->layout.name && name == slot->layout.name) return slot->hwnd;
  return nullptr;
}

FormWindow::Slot* FormWindow::SlotById(int id) {
  const int index = id - kFirstControlId;
  if (index < 0 || index >= static_cast<int>(slots_.size())) return nullptr;
  return slots_[static_cast<std::size_t>(index)].get();
}

FormWindow::Slot* FormWindow::SlotByWindow(HWND hwnd) {
  for (auto& slot : slots_)
    if (slot->hwnd && (slot->hwnd == hwnd || IsChild(slot->hwnd, hwnd))) {
      // A control inside a frame is its own slot, not the frame's.
      if (slot->layout.kind == ControlKind::Frame && slot->hwnd != hwnd) continue;
      return slot.get();
    }
  return nullptr;
}

void FormWindow::ApplyLayoutChanges() {
  const FormLayout now = form_.Layout();
  for (std::size_t i = 0; i < slots_.size() && i < now.controls.size(); ++i) {
    Slot& slot = *slots_[i];
    if (!slot.hwnd || slot.layout.kind != ControlKind::Label || slot.layout.border == now.controls[i].border) continue;
    slot.layout.border = now.controls[i].border;
    const LONG style = GetWindowLongW(slot.hwnd, GWL_STYLE);
    SetWindowLongW(slot.hwnd, GWL_STYLE, slot.layout.border ? (style | WS_BORDER) : (style & ~WS_BORDER));
    SetWindowPos(slot.hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
}

void FormWindow::Show(int showCommand) {
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
  lastFocus_ = nullptr;
  MoveFocus(false);
}

void FormWindow::MoveFocus(bool backwards) {
  std::vector<Slot*> candidates;
  for (auto& slot : slots_)
    if (slot->hwnd && slot->CanHoldFocus() && IsWindowVisible(slot->hwnd) && IsWindowEnabled(slot->hwnd))
      candidates.push_back(slot.get());
  if (candidates.empty()) return;
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const Slot* a, const Slot* b) { return a->layout.tabIndex < b->layout.tabIndex; });
  const Slot* current = SlotByWindow(GetFocus());
  Slot* next = nullptr;
  if (!current) {
    next = backwards ? candidates.back() : candidates.front();
  } else if (backwards) {
    for (auto it = candidates.rbegin(); it != candidates.rend() && !next; ++it)
      if ((*it)->layout.tabIndex < current->layout.tabIndex) next = *it;
    if (!next) next = candidates.back();
  } else {
    for (Slot* slot : candidates)
      if (!next && slot->layout.tabIndex > current->layout.tabIndex) next = slot;
    if (!next) next = candidates.front();
  }
  SetFocus(next->hwnd);
}

bool FormWindow::PreTranslate(MSG& message) {
  if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST || !message.hwnd) return false;
  const HWND root = GetAncestor(message.hwnd, GA_ROOT);
  for (FormWindow* form : LiveForms()) {
    if (form->hwnd_ != root) continue;
    if (form->accelerators_ && TranslateAcceleratorW(root, form->accelerators_, &message)) return true;
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
  return self->OnMessage(message, wParam, lParam);
}

void FormWindow::OnCommand(int id, int code, HWND control) {
  if (!control) {
    const int index = id - kFirstMenuId;
    if (index >= 0 && index < static_cast<int>(layout_.menus.size()) && layout_.menus[static_cast<std::size_t>(index)].model)
      layout_.menus[static_cast<std::size_t>(index)].model->UserClick();
    return;
  }
  Slot* slot = SlotById(id);
  if (!slot || !slot->layout.model) return;
  switch (slot->layout.kind) {
    case ControlKind::CheckBox:
      if (code == BN_CLICKED) slot->Model<CheckBox>()->UserClick();
      break;
    case ControlKind::CommandButton:
      if (code == BN_CLICKED) {
        auto* button = slot->Model<CommandButton>();
        if (button->Enabled() && button->Click) button->Click();
      }
      break;
    case ControlKind::ListBox:
      if (code == LBN_SELCHANGE) slot->UserSelectionChanged();
      else if (code == LBN_DBLCLK && slot->Model<ListBox>()->DblClick) slot->Model<ListBox>()->DblClick();
      break;
    case ControlKind::DirList:
      if (code == LBN_DBLCLK) {
        const int row = static_cast<int>(SendMessageW(slot->hwnd, LB_GETCURSEL, 0, 0));
        if (row >= 0) slot->Model<DirList>()->OpenRow(row);
      }
      break;
    case ControlKind::FileList:
      if (code == LBN_DBLCLK && slot->Model<FileList>()->DblClick) slot->Model<FileList>()->DblClick();
      break;
    case ControlKind::DriveList: {
      auto* drives = slot->Model<DriveList>();
      const bool dropped = SendMessageW(slot->hwnd, CB_GETDROPPEDSTATE, 0, 0) != 0;
      // While the list is open the highlight moves freely; the choice counts
      // when it is made.
      if (code == CBN_SELENDOK || (code == CBN_SELCHANGE && !dropped)) {
        const int index = static_cast<int>(SendMessageW(slot->hwnd, CB_GETCURSEL, 0, 0));
        if (index >= 0 && index != drives->ListIndex()) drives->SetListIndex(index);
        slot->Mirror();
      } else if (code == CBN_SELENDCANCEL) {
        slot->Mirror();
      }
      break;
    }
    default:
      break;
  }
}

LRESULT FormWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      Guarded([&] { OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)); });
      return 0;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (Slot* slot = SlotById(static_cast<int>(item->CtlID))) {
        Guarded([&] { slot->DrawItem(*item); });
        return TRUE;
      }
      break;
    }
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (Slot* slot = SlotById(static_cast<int>(item->CtlID))) {
        item->itemHeight = static_cast<UINT>(slot->itemHeight);
        return TRUE;
      }
      break;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
      SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_MOUSEMOVE:
      if (form_.MouseMove) Guarded([&] { form_.MouseMove(); });
      return 0;
    case WM_SETCURSOR:
      if (HourglassWanted(lParam)) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_ACTIVATE:
      // Keep the focus on the control that had it, as dialogs do.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
      } else if (lastFocus_ && IsWindow(lastFocus_) && IsWindowEnabled(lastFocus_) && IsWindowVisible(lastFocus_)) {
        SetFocus(lastFocus_);
        return 0;
      } else if (!HIWORD(wParam)) {
        MoveFocus(false);
        return 0;
      }
      break;
    case WM_CLOSE: {
      bool unload = true;
      Guarded([&] { unload = form_.QueryUnload(); });
      if (!unload) return 0;
      if (form_.onUnload) Guarded([&] { form_.Unload(); });
      else DestroyWindow(hwnd_);
      return 0;
    }
    case WM_DESTROY:
      Detach();
      if (quitOnDestroy_) PostQuitMessage(0);
      break;
    case WM_NCDESTROY:
      hwnd_ = nullptr;
      for (auto& slot : slots_) slot->hwnd = nullptr;
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Win32WindowHost::ShowModal(Form& form, Form& owner) {
  HWND ownerWindow = reinterpret_cast<HWND>(owner.Handle());
  bool unloaded = false;
  auto saved = std::move(form.onUnload);
  form.onUnload = [&unloaded] { unloaded = true; };
  {
    FormWindow window(form, ownerWindow, false);
    Guarded([&] { form.Load(); });
    if (!unloaded && window.Handle()) {
      window.ApplyLayoutChanges();
      if (ownerWindow) EnableWindow(ownerWindow, FALSE);
      window.Show(SW_SHOWNORMAL);
      MSG message;
      while (!unloaded && window.Handle() && IsWindow(window.Handle())) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
          // Leave the quit request for the main loop.
          PostQuitMessage(static_cast<int>(message.wParam));
          break;
        }
        if (got < 0) break;
        DispatchOne(message);
      }
      // The owner takes the activation back before this window goes away.
      if (ownerWindow) {
        EnableWindow(ownerWindow, TRUE);
        SetActiveWindow(ownerWindow);
      }
    }
  }
  form.onUnload = std::move(saved);
}

int Win32WindowHost::ScreenWidth() { return PixelsToTwipsX(GetSystemMetrics(SM_CXSCREEN)); }
int Win32WindowHost::ScreenHeight() { return PixelsToTwipsY(GetSystemMetrics(SM_CYSCREEN)); }

}  // namespace zefta::win32
