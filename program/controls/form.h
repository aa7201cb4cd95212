// A window of the program as the binding sees it: its static layout (in
// twips, front to back) and its life-cycle events.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/controls.h"

namespace zefta {

enum class ControlKind { Frame, Label, CheckBox, CommandButton, ListBox, DriveList, DirList, FileList, StatusBar };

// Where a control sits, in twips, relative to the window or to the frame
// holding it.
struct TwipsBox {
  int left, top, width, height;
};

// One row of a window's layout table. Rows name their fields:
//   {.name = "Ok", .kind = ControlKind::CommandButton, .box = {2280, 3960, 1695, 615},
//    .tabIndex = 1, .model = &Ok, .caption = kOk}
struct ControlLayout {
  const char* name;
  ControlKind kind;
  TwipsBox box;
  int tabIndex;
  ControlBase* model;
  std::u16string caption = {};
  const char* container = nullptr;  // name of the frame holding it, or nullptr
  bool dropTarget = false;
  int fontPoints = 0;     // 0: the window's size
  bool centered = false;  // text centred (labels)
  bool border = false;    // single-line border (labels)
};

// One entry of a window's menu bar (level 0) or of a menu (level 1).
struct MenuLayout {
  const char* name;
  std::u16string caption;  // "-" for a separator line
  int level;
  MenuItem* model;
  std::u16string shortcut = {};  // "Ctrl+X", or empty
};

enum class BorderStyle { FixedSingle, FixedDialog };

// The face of every window and control (the status bar aside), Shift-JIS,
// weight 400, at the size of the window or of the control.
inline constexpr char16_t kFontFace[] = u"ＭＳ ゴシック";

struct FormLayout {
  const char* name;
  std::u16string caption;
  int clientWidth, clientHeight;  // twips
  int fontPoints;
  BorderStyle border;
  bool minimizeButton = false;
  bool showInTaskbar = false;
  bool dropTarget = false;
  std::vector<ControlLayout> controls = {};
  std::vector<MenuLayout> menus = {};
};

// Window ids of the controls and menu entries: a fixed base plus the row of
// the control (menu entry) in its window's layout table. The binding gives
// them, and test drivers find the controls by them.
inline constexpr int kFirstControlId = 1000;
inline constexpr int kFirstMenuId = 2000;
constexpr int ControlIdOfRow(std::size_t row) { return kFirstControlId + static_cast<int>(row); }
constexpr int MenuIdOfRow(std::size_t row) { return kFirstMenuId + static_cast<int>(row); }
// The id of the control or menu entry of that name; 0 when the layout has none.
int ControlId(const FormLayout& layout, std::string_view name);
int MenuId(const FormLayout& layout, std::string_view name);

// The dropped-file list of a drag-and-drop data object.
struct DropData {
  bool hasFileList = false;
  std::vector<std::u16string> files;
};

inline constexpr int kDropEffectNone = 0;
inline constexpr int kDropEffectCopy = 1;

class Form {
 public:
  virtual ~Form() = default;
  virtual FormLayout Layout() = 0;
  // Raised when the window is loaded, before it is first shown.
  virtual void Load() {}
  // The close box (or the system) asks the window to close. Return false to keep it open.
  virtual bool QueryUnload() { return true; }
  // Drag-and-drop over a drop target of this window: the effect to show.
  virtual int OLEDragOver(const DropData& data, int requestedEffect) {
    (void)data;
    (void)requestedEffect;
    return kDropEffectNone;
  }
  virtual void OLEDragDrop(const DropData& data) { (void)data; }
  // Esc pressed in the window: true when the window took it.
  virtual bool Escape() { return false; }
  // A menu of the window closed (an item chosen or not).
  virtual void MenuClosed() {}

  WindowHandle Handle() const { return handle_; }
  void SetHandle(WindowHandle handle) { handle_ = handle; }
  const std::u16string& CaptionText() const { return caption_; }
  void SetCaption(std::u16string caption) {
    caption_ = std::move(caption);
    if (onStateChanged) onStateChanged();
  }
  // Position of the window in twips (set by CenterForm and by the binding).
  int Left() const { return left_; }
  int Top() const { return top_; }
  void Move(int left, int top) {
    left_ = left;
    top_ = top;
    if (onStateChanged) onStateChanged();
  }
  // Outer size in twips, kept by the binding.
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetOuterSize(int width, int height) {
    width_ = width;
    height_ = height;
  }

  // Unloads the window (the modal loop showing it ends).
  void Unload() {
    if (onUnload) onUnload();
  }

  // Raised by the binding when the pointer moves over the window's own surface.
  std::function<void()> MouseMove;
  std::function<void()> onStateChanged;
  std::function<void()> onUnload;

 private:
  WindowHandle handle_ = 0;
  std::u16string caption_;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
};

// Shows secondary windows; the Win32 binding creates them from their layout.
class WindowHost {
 public:
  virtual ~WindowHost() = default;
  // Loads the window (its Load runs first), shows it modal over owner and
  // returns when it has been unloaded.
  virtual void ShowModal(Form& form, Form& owner) = 0;
  // Lets the events run while work goes on elsewhere, asking working() a
  // few times a second until it returns false; owner takes no input
  // meanwhile. After half a second progress is loaded and shown modal over
  // owner. True when the work ended first; false when the user closed the
  // progress window (or pressed Esc, also before it showed).
  virtual bool WaitFor(Form& progress, Form& owner, const std::function<bool()>& working) = 0;
  // Screen size in twips.
  virtual int ScreenWidth() = 0;
  virtual int ScreenHeight() = 0;
};

// Places the window in the middle of the screen, 150 twips above it.
void CenterForm(Form& form, WindowHost& host);

}  // namespace zefta
