// One binder per control kind: it creates the control's window from its row
// of the layout table, mirrors the model into it, feeds the user's input back
// into the model and draws what the control leaves to its owner. It decides
// nothing itself.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "controls/form.h"

namespace zefta::win32 {

class FontSet;

class ControlBinder {
 public:
  ControlBinder(const ControlLayout& layout, int id, HFONT font) : layout_(layout), id_(id), font_(font) {}
  virtual ~ControlBinder() = default;
  ControlBinder(const ControlBinder&) = delete;
  ControlBinder& operator=(const ControlBinder&) = delete;

  const ControlLayout& Layout() const { return layout_; }
  int Id() const { return id_; }
  HWND Handle() const { return hwnd_; }
  // Creates the control inside parent (the window, or the frame holding it)
  // at its place converted to pixels, with its font.
  bool Create(HWND parent);
  // Mirrors the model now and after every change of it, or no longer.
  virtual void Attach();
  virtual void Detach();
  // The control's window is gone.
  void Forget() { hwnd_ = nullptr; }
  void Mirror();
  virtual bool CanHoldFocus() const { return false; }
  // What the control tells its window: WM_COMMAND codes, owner drawing.
  virtual void OnCommand(int code) { (void)code; }
  virtual bool DrawItem(const DRAWITEMSTRUCT& item) {
    (void)item;
    return false;
  }
  virtual bool MeasureItem(MEASUREITEMSTRUCT& item) {
    (void)item;
    return false;
  }
  // Applies what the window's Load changed in the control's row of the layout.
  virtual void ApplyLayout(const ControlLayout& now) { (void)now; }

 protected:
  struct WindowSpec {
    const wchar_t* className;
    DWORD style;  // besides WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS
    DWORD exStyle;
    std::u16string text;
  };
  virtual WindowSpec Spec() = 0;
  // Height of the control's window in pixels.
  virtual int WindowHeight() const;
  // Runs once the window exists and has its font.
  virtual void Created() {}
  // The kind's own part of mirroring the model.
  virtual void MirrorState() {}
  // A message sent to the control's window; true when handled, with result set.
  virtual bool OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    (void)message, (void)wParam, (void)lParam, (void)result;
    return false;
  }
  LRESULT CallBase(UINT message, WPARAM wParam, LPARAM lParam) const {
    return CallWindowProcW(baseProc_, hwnd_, message, wParam, lParam);
  }
  template <typename T>
  T* Model() const {
    return static_cast<T*>(layout_.model);
  }
  HFONT Font() const { return font_; }
  ControlLayout& MutableLayout() { return layout_; }

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  ControlLayout layout_;
  int id_;
  HFONT font_;
  HWND hwnd_ = nullptr;
  WNDPROC baseProc_ = nullptr;
};

// A frame or a label: its caption starts as the layout gives it and then
// follows the model.
class CaptionBinder : public ControlBinder {
 public:
  CaptionBinder(const ControlLayout& layout, int id, HFONT font);

 protected:
  std::u16string CaptionText() const;
  void MirrorState() override;
};

// The binder of one row of a layout, by the control's kind.
std::unique_ptr<ControlBinder> MakeBinder(const ControlLayout& layout, int id, FontSet& fonts, int windowPoints);

std::unique_ptr<ControlBinder> MakeFrameBinder(const ControlLayout& layout, int id, HFONT font);
std::unique_ptr<ControlBinder> MakeLabelBinder(const ControlLayout& layout, int id, HFONT font);
std::unique_ptr<ControlBinder> MakeCheckBoxBinder(const ControlLayout& layout, int id, HFONT font);
std::unique_ptr<ControlBinder> MakeCommandButtonBinder(const ControlLayout& layout, int id, HFONT font);
std::unique_ptr<ControlBinder> MakeListBoxBinder(const ControlLayout& layout, int id, HFONT font);
std::unique_ptr<ControlBinder> MakeDriveListBinder(const ControlLayout& layout, int id, HFONT font);
std::unique_ptr<ControlBinder> MakeDirListBinder(const ControlLayout& layout, int id, HFONT font);
std::unique_ptr<ControlBinder> MakeFileListBinder(const ControlLayout& layout, int id, HFONT font);
std::unique_ptr<ControlBinder> MakeStatusBarBinder(const ControlLayout& layout, int id, FontSet& fonts);

// Model handlers run inside window procedures: nothing may unwind through
// the system's frames.
template <typename F>
void Guarded(F&& f) {
  try {
    f();
  } catch (...) {
  }
}

// WM_SETCURSOR over the client area while a run shows the hourglass: sets it.
bool ShowHourglass(LPARAM hitTest);

}  // namespace zefta::win32
