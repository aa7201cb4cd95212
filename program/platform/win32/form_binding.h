// The Win32 binding of a Form: creates the window and its controls from the
// form's layout table, mirrors every model change into them and feeds the
// user's input back into the models. It decides nothing itself.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string_view>
#include <vector>

#include "controls/form.h"

namespace zefta::win32 {

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
  HACCEL Accelerators() const { return accelerators_; }
  // Applies what Load may have changed in the layout itself (label borders).
  void ApplyLayoutChanges();
  // Shows the window and gives the focus to the first control in tab order.
  void Show(int showCommand);

  // Keyboard handling of the message pump: accelerators and Tab order.
  static bool PreTranslate(MSG& message);

  struct Slot;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id, int code, HWND control);
  void Detach();
  void CreateControls();
  void CreateMenus();
  void HookForm();
  void MirrorForm();
  void FitClientArea();
  void MoveFocus(bool backwards);
  Slot* SlotById(int id);
  Slot* SlotByWindow(HWND hwnd);
  HFONT FontOfSize(int points);

  Form& form_;
  FormLayout layout_;
  HWND hwnd_ = nullptr;
  bool quitOnDestroy_;
  HACCEL accelerators_ = nullptr;
  HMENU menuBar_ = nullptr;
  std::vector<std::unique_ptr<Slot>> slots_;
  std::vector<std::pair<int, HFONT>> fonts_;
  HFONT statusFont_ = nullptr;
  HWND lastFocus_ = nullptr;
  std::u16string shownCaption_;
  int shownLeft_ = 0, shownTop_ = 0;
};

// Screen geometry: twips (1440 per inch) to pixels by the screen's DPI and back.
int TwipsToPixelsX(int twips);
int TwipsToPixelsY(int twips);
int PixelsToTwipsX(int pixels);
int PixelsToTwipsY(int pixels);

// The dropped-file list of a CF_HDROP block.
DropData DropDataFromHdrop(HDROP drop);

// Shows forms modal over their owner, each built by FormWindow.
class Win32WindowHost final : public WindowHost {
 public:
  void ShowModal(Form& form, Form& owner) override;
  int ScreenWidth() override;
  int ScreenHeight() override;
};

}  // namespace zefta::win32
