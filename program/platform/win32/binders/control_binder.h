// One binder per control kind: it creates the control's window from its row
// of the layout table, shows the model's state in it, passes the user's
// input back to the model and draws what the control leaves to its owner. It
// decides nothing itself.
//
// Every kind is one class right below ControlBinder, in its own file
// (*_binder.cpp); the list kinds share plain helpers (list_rows.h). A kind
// overrides only the hooks it needs; all but WindowToCreate do nothing by
// default.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "controls/form.h"
#include "controls/twips.h"

namespace zefta::win32 {

class FontSet;

// The window of a control as its kind creates it.
struct WindowSpec {
  const wchar_t* className;
  DWORD style;  // besides WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS
  DWORD exStyle;
  std::u16string text;
  int extraHeight = 0;  // twips below the row's height (a drop-down part)
};

class ControlBinder {
 public:
  ControlBinder(const ControlLayout& row, int id, HFONT font) : row_(row), id_(id), font_(font) {}
  virtual ~ControlBinder() = default;
  ControlBinder(const ControlBinder&) = delete;
  ControlBinder& operator=(const ControlBinder&) = delete;

  const ControlLayout& Layout() const { return row_; }
  int Id() const { return id_; }
  HWND Handle() const { return hwnd_; }
  // Creates the control inside parent (the window, or the frame holding it);
  // LayOut gives it its place and font.
  bool Create(HWND parent);
  // Places the control at dpi, from its twips, with its size of font made
  // for dpi, and sets up what depends on both. At start and at every change
  // of the window's dpi.
  void LayOut(int dpi, FontSet& fonts);
  // Shows the model now and after every change of it, or no longer.
  void Attach();
  void Detach();
  // The control's window is gone.
  void Forget() { hwnd_ = nullptr; }
  // Enabled, visible, and the kind's own state.
  void Mirror();
  // Controls with a tab stop take the focus in the window's tab order.
  bool CanHoldFocus() const;
  // Applies what the window's Load changed in the control's row of the
  // layout: its border.
  void ApplyLayout(const ControlLayout& now);

  // A notification of the control to its window (the code of WM_COMMAND):
  // the user's input, handed to the model.
  virtual void PassInputToModel(int code) { (void)code; }
  // WM_DRAWITEM of an owner-drawn row; true when drawn.
  virtual bool DrawRow(const DRAWITEMSTRUCT& item) {
    (void)item;
    return false;
  }

 protected:
  virtual WindowSpec WindowToCreate() = 0;
  // Once the window has its place and font, and again at each change of
  // dpi: what its class cannot be told at creation (row heights).
  virtual void SetUpWindow() {}
  // The kind's own part of the model's state, shown in the window.
  virtual void ShowModelState() {}
  // Hooks (true) or unhooks (false) the model's events other than
  // onStateChanged, and shows what they carry once.
  virtual void FollowModel(bool follow) { (void)follow; }
  // A message to the control's own window, seen before the control's class
  // handles it; true when handled, with result set.
  virtual bool Intercept(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    (void)message, (void)wParam, (void)lParam, (void)result;
    return false;
  }

  LRESULT CallBase(UINT message, WPARAM wParam, LPARAM lParam) const {
    return CallWindowProcW(baseProc_, hwnd_, message, wParam, lParam);
  }
  HFONT Font() const { return font_; }
  int Dpi() const { return dpi_; }
  // A length drawn in pixels at 100 %, at the control's dpi.
  int Scaled(int pixels) const;

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  ControlLayout row_;
  int id_;
  HFONT font_;
  int dpi_ = kStandardDpi;
  int extraHeight_ = 0;
  HWND hwnd_ = nullptr;
  WNDPROC baseProc_ = nullptr;
};

// The binder of one row of a layout, by the control's kind. The row's model
// must be of the class that its kind binds (a CheckBox row a CheckBox, ...);
// any other model, or none, throws a std::exception naming the row.
std::unique_ptr<ControlBinder> MakeBinder(const ControlLayout& row, int id, FontSet& fonts, int windowPoints);

// A caption model without text of its own starts with the row's caption.
void AdoptLayoutCaption(Caption& model, const ControlLayout& row);

std::unique_ptr<ControlBinder> MakeFrameBinder(const ControlLayout& row, int id, HFONT font, Caption& model);
std::unique_ptr<ControlBinder> MakeLabelBinder(const ControlLayout& row, int id, HFONT font, Caption& model);
std::unique_ptr<ControlBinder> MakeCheckBoxBinder(const ControlLayout& row, int id, HFONT font, CheckBox& model);
std::unique_ptr<ControlBinder> MakeCommandButtonBinder(const ControlLayout& row, int id, HFONT font,
                                                       CommandButton& model);
std::unique_ptr<ControlBinder> MakeListBoxBinder(const ControlLayout& row, int id, HFONT font, ListBox& model);
std::unique_ptr<ControlBinder> MakeCheckListBinder(const ControlLayout& row, int id, HFONT font, ListBox& model);
std::unique_ptr<ControlBinder> MakeDriveListBinder(const ControlLayout& row, int id, HFONT font, DriveList& model);
std::unique_ptr<ControlBinder> MakeDirListBinder(const ControlLayout& row, int id, HFONT font, DirList& model);
std::unique_ptr<ControlBinder> MakeFileListBinder(const ControlLayout& row, int id, HFONT font, FileList& model);
std::unique_ptr<ControlBinder> MakeStatusBarBinder(const ControlLayout& row, int id, HFONT font, StatusPanel& model);

// WM_SETCURSOR over the client area while a run shows the hourglass: sets it.
bool ShowHourglass(LPARAM hitTest);

}  // namespace zefta::win32
