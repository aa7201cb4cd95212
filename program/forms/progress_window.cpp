#include "forms/progress_window.h"

#include "forms/progress_texts.h"
#include "forms/run_progress.h"

namespace zefta {

namespace {

// Characters of the folder path that fit the window's line.
constexpr std::size_t kPlaceCharacters = 60;

}  // namespace

ProgressWindow::ProgressWindow() {
  SetCaption(progress_texts::kCaption);
  Cancel.Click = [this] { Cancel_Click(); };
}

FormLayout ProgressWindow::Layout() {
  using K = ControlKind;
  using namespace progress_texts;
  return {.name = "Progress",
          .caption = kCaption,
          .clientWidth = 5535,
          .clientHeight = 1575,
          .fontPoints = 9,
          .border = BorderStyle::FixedDialog,
          .controls = {
              {.name = "Activity", .kind = K::Label, .box = {120, 120, 5295, 255}, .tabIndex = 1, .model = &Activity},
              {.name = "Place", .kind = K::Label, .box = {120, 435, 5295, 255}, .tabIndex = 2, .model = &Place},
              {.name = "Cancel", .kind = K::CommandButton, .box = {3840, 840, 1575, 615}, .tabIndex = 0,
               .model = &Cancel, .caption = kCancel, .fontPoints = 12},
          }};
}

bool ProgressWindow::Escape() {
  Cancel_Click();
  return true;
}

void ProgressWindow::Cancel_Click() { Unload(); }

void ProgressWindow::ShowListing(const ListingProgress& progress) {
  using namespace progress_texts;
  const std::u16string activity = kListingBefore + GroupedDecimal(progress.entries) + kCountAfter;
  if (Activity.Text() != activity) Activity.SetText(activity);
  const std::u16string place = kReading + PathTail(progress.folder, kPlaceCharacters);
  if (Place.Text() != place) Place.SetText(place);
}

std::u16string PathTail(std::u16string_view path, std::size_t characters) {
  if (path.size() <= characters || characters == 0) return std::u16string(path);
  return u"…" + std::u16string(path.substr(path.size() - (characters - 1)));
}

}  // namespace zefta
