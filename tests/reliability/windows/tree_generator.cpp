#include "tree_generator.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <set>

#include "services/case_mapping.h"
#include "platform/win32/text.h"
#include "reliability_support.h"

namespace zefta::reliability {

namespace {

using win32::W;

// Mixed case, Japanese, half-width katakana, full-width Latin, Greek and
// Cyrillic (cased, inside code page 932) and one letter outside it.
const std::vector<std::u16string> kStems = {
    u"ReadMe", u"DATA", u"notes", u"Photo", u"Report_2024", u"mixedCase", u"ALLCAPS", u"lower",
    u"archive.tar", u"v1.0.Final", u"データ", u"資料ファイル", u"ﾃﾞｰﾀ", u"ﾌｧｲﾙ名", u"写真ＡＢＣ",
    u"Ｆｕｌｌ", u"Ωmega", u"Ярлык", u"Café", u"a", u"Z", u"x.Y"};
// Short, exactly five, longer than five, none, Japanese and full-width.
const std::vector<std::u16string> kExtensions = {
    u".TXT", u".txt", u".Txt", u".JPEG", u".jpg", u".Markdown", u".config", u".HTML", u".c",
    u".H", u"", u".GZ", u".ﾃｷｽﾄ", u".ＴＸＴ", u".PnG", u".tEsT1"};
const std::vector<std::u16string> kFolders = {
    u"Folder.D", u"v1.2", u"Data.Backup", u"ﾌｫﾙﾀﾞ.Old", u"資料.Dir", u"Docs", u"SRC", u"ｻﾌﾞ", u"Mixed Case",
    u"写真"};
// Names without a dot, put under dotted folders.
const std::vector<std::u16string> kDotless = {u"Makefile", u"README", u"LICENSE", u"ﾒﾓ", u"Config", u"todo"};

class Builder {
 public:
  Builder(std::uint32_t seed, int treeIndex, GeneratedTree& tree) : rng_(seed), treeIndex_(treeIndex), tree_(tree) {}

  int Pick(int n) { return static_cast<int>(rng_() % static_cast<std::uint32_t>(n)); }
  template <typename T>
  const T& PickOf(const std::vector<T>& items) { return items[static_cast<std::size_t>(Pick(static_cast<int>(items.size())))]; }

  // A name not yet used in folder, compared without regard to case.
  std::u16string Unique(const std::u16string& folder, std::u16string stem, const std::u16string& extension) {
    std::set<std::u16string>& used = used_[MapCase(folder, CaseDirection::Upper)];
    std::u16string name = stem + extension;
    for (int n = 2; used.count(MapCase(name, CaseDirection::Upper)) || Exists(folder + u"\\" + name); ++n)
      name = stem + u"_" + Decimal(n) + extension;
    used.insert(MapCase(name, CaseDirection::Upper));
    return name;
  }

  bool File(const std::u16string& path) {
    std::string content = "tree " + std::to_string(treeIndex_) + " file " + std::to_string(++serial_) + " " +
                          U8(path) + "\n";
    content.append(static_cast<std::size_t>(Pick(64)), static_cast<char>('a' + Pick(26)));
    if (!WriteFileBytes(path, content)) return false;
    tree_.files.push_back(path);
    ++tree_.entries;
    if (path.size() >= 240) ++tree_.nearPathLimit;
    if (Pick(7) == 0) {
      SetFileAttributesW(W(path), FILE_ATTRIBUTE_READONLY);
      ++tree_.readOnly;
    }
    return true;
  }

  bool Folder(const std::u16string& path) {
    if (!MakeDirectory(path)) return false;
    tree_.folders.push_back(path);
    ++tree_.entries;
    if (path.size() >= 240) ++tree_.nearPathLimit;
    return true;
  }

 private:
  static bool Exists(const std::u16string& path) { return GetFileAttributesW(W(path)) != INVALID_FILE_ATTRIBUTES; }
  std::mt19937 rng_;
  int treeIndex_;
  GeneratedTree& tree_;
  int serial_ = 0;
  std::map<std::u16string, std::set<std::u16string>> used_;
};

}  // namespace

GeneratedTree GenerateTree(const std::u16string& root, std::uint32_t seed, int treeIndex, TreeShape shape) {
  GeneratedTree tree;
  tree.root = WithoutSeparator(root);
  MakeDirectory(tree.root);
  Builder b(seed, treeIndex, tree);

  // Paths near the ANSI limit: a chain of folders, then names that take the
  // full path to 240..259 characters. One link of the chain is Japanese, so
  // its Shift-JIS form runs past the limit sooner than its characters do.
  std::u16string chain = tree.root;
  for (int level = 0; chain.size() < 200; ++level) {
    std::u16string name = level == 1 ? u"長いパス名のフォルダ.Dir" : u"LongPath" + Decimal(level) + u".Folder_Abc";
    const std::u16string path = chain + u"\\" + b.Unique(chain, name, u"");
    if (!b.Folder(path)) break;
    chain = path;
  }
  for (int length : {240, 250, 255, 259}) {
    const std::size_t room = static_cast<std::size_t>(length) - chain.size() - 1;
    std::u16string name = (length % 2 ? u"Near.LIMIT" : u"near_Limit.Txt");
    if (name.size() < room) name.insert(4, std::u16string(room - name.size(), length == 255 ? u'ﾃ' : u'x'));
    b.File(chain + u"\\" + name.substr(0, room));
  }

  // The rest: folders up to three levels deep, dotted ones holding dotless names.
  std::vector<std::u16string> folders{tree.root};
  while (tree.entries < shape.entries) {
    const std::u16string& parent = folders[static_cast<std::size_t>(b.Pick(static_cast<int>(folders.size())))];
    const int depth = static_cast<int>(std::count(parent.begin() + static_cast<long>(tree.root.size()), parent.end(), u'\\'));
    const int roll = b.Pick(10);
    if (roll < 2 && depth < 3) {
      const std::u16string path = parent + u"\\" + b.Unique(parent, b.PickOf(kFolders), u"");
      if (b.Folder(path)) {
        folders.push_back(path);
        if (path.find(u'.', tree.root.size()) != std::u16string::npos)
          b.File(path + u"\\" + b.Unique(path, b.PickOf(kDotless), u""));
      }
    } else {
      b.File(parent + u"\\" + b.Unique(parent, b.PickOf(kStems), b.PickOf(kExtensions)));
    }
  }
  // One read-only folder.
  if (folders.size() > 1) {
    SetFileAttributesW(W(folders[1]), FILE_ATTRIBUTE_READONLY);
    ++tree.readOnly;
  }
  return tree;
}

}  // namespace zefta::reliability
