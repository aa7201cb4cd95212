// The real services on Win32.
#pragma once

#include "platform/services.h"

namespace zefta::win32 {

class Win32FileSystem final : public FileSystem {
 public:
  std::optional<std::vector<std::u16string>> Enumerate(std::u16string_view folderPath,
                                                       std::uint16_t attributes) override;
  bool Rename(std::u16string_view oldPath, std::u16string_view newPath) override;
  std::vector<std::u16string> Drives() override;
  bool DriveReady(std::u16string_view drive) override;
  bool DirectoryExists(std::u16string_view path) override;
  std::vector<std::u16string> Subdirectories(std::u16string_view path) override;
  std::u16string CurrentDirectoryOf(std::u16string_view drive) override;
};

class Win32MessageBoxes final : public MessageBoxes {
 public:
  void Show(WindowHandle owner, std::u16string_view text, std::u16string_view title, MessageIcon icon) override;
};

class Win32Desktop final : public Desktop {
 public:
  void DoEvents() override;
  void BringToFront(WindowHandle window) override;
  void Beep() override;
  void SetPointer(WindowHandle window, Pointer pointer) override;
  WindowHandle FindWindowByTitle(std::u16string_view title) override;
  void EndProgram() override;
};

class Win32CodePage final : public CodePage {
 public:
  std::string ToAnsi(std::u16string_view text) override;
  std::u16string FromAnsi(std::string_view bytes) override;
};

// Hook of the message pump: returns true when it handled the message itself
// (accelerators, dialog navigation). Set by the window binding.
using PreTranslateHook = bool (*)(MSG& message);
void SetPreTranslateHook(PreTranslateHook hook);
// Translates and dispatches one message through the hook.
void DispatchOne(MSG& message);

// The pointer shape the windows show; read by WM_SETCURSOR handling.
Pointer CurrentPointer();

}  // namespace zefta::win32
