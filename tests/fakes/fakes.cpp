#include "fakes.h"

#include <algorithm>

namespace zefta::testing {

namespace {

// The keys of one section: "app\section\" followed by the key.
std::u16string SectionPrefix(std::u16string_view app, std::u16string_view section) {
  return std::u16string(app) + u"\\" + std::u16string(section) + u"\\";
}

}  // namespace

std::u16string MemorySettings::Get(std::u16string_view app, std::u16string_view section, std::u16string_view key,
                                   std::u16string_view defaultValue) {
  const auto it = values.find(SectionPrefix(app, section) + std::u16string(key));
  return it == values.end() ? std::u16string(defaultValue) : it->second;
}

void MemorySettings::Set(std::u16string_view app, std::u16string_view section, std::u16string_view key,
                         std::u16string_view value) {
  values[SectionPrefix(app, section) + std::u16string(key)] = std::u16string(value);
  writes.emplace_back(key);
}

bool MemorySettings::DeleteSection(std::u16string_view app, std::u16string_view section) {
  const std::u16string prefix = SectionPrefix(app, section);
  return std::erase_if(values, [&](const auto& item) { return item.first.starts_with(prefix); }) > 0;
}

WholeFile FakeJournalStorage::Read(JournalFile file) {
  const auto it = files.find(file);
  if (it == files.end()) return {};
  if (failReads) return {WholeFile::State::Unreadable, {}};
  return {WholeFile::State::Read, it->second};
}

bool FakeJournalStorage::Create(std::string_view text) {
  if (failWrites) return false;
  files[JournalFile::Current] = text;
  return true;
}

bool FakeJournalStorage::Append(std::string_view text) {
  if (failWrites || !files.count(JournalFile::Current)) return false;
  files[JournalFile::Current] += text;
  return true;
}

bool FakeJournalStorage::Rename(JournalFile from, JournalFile to) {
  if (!files.count(from)) return false;
  files[to] = files[from];
  files.erase(from);
  return true;
}

namespace {

class FakeListing final : public TreeListing {
 public:
  FakeListing(ListedTree tree, int questions, bool& cancelled)
      : tree_(std::move(tree)), questions_(questions), cancelled_(cancelled) {}
  bool Finished() override { return questions_-- <= 0; }
  ListingProgress Progress() override { return {static_cast<std::int64_t>(tree_.Count()), u"c:\\reading"}; }
  void Cancel() override { cancelled_ = true; }
  ListedTree Take() override { return std::move(tree_); }

 private:
  ListedTree tree_;
  int questions_;
  bool& cancelled_;
};

void ListInto(FakeFileSystem& files, const std::u16string& folder, bool folders, ListedTree& tree) {
  const auto names = files.Names(folder + u"\\");
  if (!names) return tree.AddUnreadable(folder);
  const ListedTree::FolderIndex index = tree.AddFolder(folder);
  for (const std::u16string& name : *names) {
    const std::u16string path = folder + u"\\" + name;
    const bool directory = files.DirectoryExists(path);
    if (!directory || folders) tree.AddEntry(index, name);
    if (directory && !files.IsLinkSpelled(path)) ListInto(files, path, folders, tree);
  }
}

}  // namespace

std::unique_ptr<TreeListing> FakeTreeLister::Start(std::u16string_view top, bool folders) {
  calls.emplace_back(top, folders);
  ListedTree tree;
  ListInto(files_, std::u16string(top), folders, tree);
  return std::make_unique<FakeListing>(std::move(tree), questions, cancelled);
}

void FakeDesktop::DoEvents() {
  if (events.empty()) return;
  auto next = std::move(events.front());
  events.pop_front();
  if (next) next();
}

}  // namespace zefta::testing
