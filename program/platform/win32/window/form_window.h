// The Win32 window of a Form, built from the form's layout table: one binder
// per control, the menus with their accelerators, and the drop targets. Its
// window procedure only dispatches: to the binder of the control concerned,
// to the menus, or to the form. It lays itself out from the table's twips at
// the dpi of the monitor it is on, at start and whenever that dpi changes.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "controls/form.h"
#include "platform/win32/support/fonts.h"
#include "platform/win32/support/screen_units.h"

namespace zefta::win32 {

class ControlBinder;
class MenuBinder;

// The id of the program's icon among the resources of its executable (zefta.rc).
inline constexpr int kIconResource = 1;

class FormWindow {
 public:
  // Creates the window hidden, with its controls, menus, accelerators and drop
  // targets, and hooks the models. The form's handle is the window from now
  // on, and its outer size is known, so Load may centre it. With
  // quitOnDestroy the message loop ends when the window goes away.
  FormWindow(Form& form, HWND owner, bool quitOnDestroy);
  ~FormWindow();
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  // The window of a control by its layout name, or nullptr.
  HWND Control(std::string_view name) const;
  HACCEL Accelerators() const;
  // Applies what Load may have changed in the layout itself (label borders).
  void ApplyLayoutChanges();
  // Shows the window and gives the focus to the first control in tab order.
  void Show(int showCommand);

  // Keyboard handling of the message pump: accelerators and Tab order.
  static bool PreTranslate(MSG& message);

 private:
  static bool TranslateKeys(MSG& message);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id, int code, HWND control);
  bool OnActivate(WPARAM wParam);
  void OnClose();
  void Detach();
  void CreateControls();
  void ConnectControls();
  void HookForm();
  void TakePlaceFromWindow();
  void MirrorForm();
  // The window, its font, icons and every control placed for dpi.
  void LayOut(int dpi);
  SIZE OuterSizeAt(int dpi) const;
  void FitClientArea();
  void AllowLayoutSize(MINMAXINFO& info) const;
  void ShowIcons();
  void OnDpiChanged(int dpi, const RECT& suggested);
  void MoveFocus(bool backwards);
  ControlBinder* BinderById(int id) const;
  ControlBinder* BinderByWindow(HWND hwnd) const;

  Form& form_;
  FormLayout layout_;
  DWORD style_ = 0, exStyle_ = 0;
  int dpi_;
  FontSet fonts_;
  // The window's own icons at its dpi; the class's are for the system's.
  HICON bigIcon_ = nullptr, smallIcon_ = nullptr;
  std::unique_ptr<MenuBinder> menus_;
  std::vector<std::unique_ptr<ControlBinder>> binders_;
  HWND hwnd_ = nullptr;
  bool quitOnDestroy_;
  HWND lastFocus_ = nullptr;
  std::u16string shownCaption_;
  int shownLeft_ = 0, shownTop_ = 0;
};

}  // namespace zefta::win32
