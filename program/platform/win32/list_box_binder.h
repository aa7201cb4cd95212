// A list box of names: single or extended selection. Its rows are as wide as
// its widest entry, so a long name or path scrolls instead of being cut.
#pragma once

#include "platform/win32/fonts.h"
#include "platform/win32/list_binder.h"

namespace zefta::win32 {

class ListBoxBinder : public ListBinder {
 public:
  ListBoxBinder(const ControlLayout& layout, int id, HFONT font, bool ownerDrawn)
      : ListBinder(layout, id, font, ownerDrawn), meter_(font) {}
  void Attach() override;
  void Detach() override;
  void OnCommand(int code) override;

 protected:
  ListBox* List() const { return Model<ListBox>(); }
  WindowSpec Spec() override;
  bool OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void MirrorList(ListBox::Change change, int index);
  // How the model's selection of one item and its current item show.
  virtual void ShowSelection(int index);
  virtual void ShowCurrent();
  // The user changed the selection in the view: the model takes it over.
  virtual void UserSelectionChanged();
  // Pixels before an entry's text in its row.
  virtual int TextLeft() const { return 2; }
  void SetHighlight(int index);
  void DropPendingHighlight();

 private:
  bool Multiple() const;
  int ShownHighlight() const;
  void ShowPendingHighlight();
  void FitWidth(int textWidth);

  TextMeter meter_;
  int widest_ = 0;
  int extent_ = 0;
  // The highlight as the model last asked for it, while that is not shown yet.
  bool highlightPending_ = false;
  int pendingHighlight_ = -1;
  DWORD lastHighlight_ = 0;
};

std::unique_ptr<ControlBinder> MakeCheckListBinder(const ControlLayout& layout, int id, HFONT font);

}  // namespace zefta::win32
