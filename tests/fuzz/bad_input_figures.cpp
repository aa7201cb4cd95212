// Bad input, counted: command lines, stored settings values and list files,
// generated deterministically, given to the program's own start-up and
// conversion list window on fake services, and checked against the
// behaviour the program gives such input. Prints FIGURE|section|name|value
// lines; exits non-zero when any input was mishandled.
//
//   bad_input_figures [inputs-per-kind] [seed]
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fakes.h"
#include "fuzz_support.h"
#include "services/case_mapping.h"
#include "windows/conversion_list_window.h"
#include "windows/main_window.h"

namespace zefta::testing {
namespace {

// splitmix64: the same inputs on every machine and every run.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // 0 .. n-1
  std::size_t Below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(Next() % n); }
  bool Coin() { return Next() & 1; }
  char16_t AnyUnit() { return static_cast<char16_t>(Next() & 0xFFFF); }
  template <typename T>
  const T& Pick(const std::vector<T>& items) { return items[Below(items.size())]; }

 private:
  std::uint64_t state_;
};

std::u16string Ascii(const std::string& s) { return std::u16string(s.begin(), s.end()); }

std::u16string Upper(std::u16string_view text) { return MapCase(text, CaseDirection::Upper); }

// Counts per section, printed as figures at the end.
struct Section {
  explicit Section(std::string sectionName) : name(std::move(sectionName)) {}
  std::string name;
  long inputs = 0;
  long crashes = 0;     // an exception escaped the program's handlers
  long unexpected = 0;  // handled, but not as the program should
  std::map<std::string, long> extra;
  std::vector<std::string> failures;  // the first few, for the log

  void Fail(const std::string& what) {
    ++unexpected;
    if (failures.size() < 5) failures.push_back(what);
  }
  // Runs one input; an exception that reaches here is a crash of the window.
  void Run(const std::function<void()>& body) {
    ++inputs;
    try {
      body();
    } catch (const PlatformError& e) {
      ++crashes;
      if (failures.size() < 5) failures.push_back("uncaught platform error " + std::to_string(e.code));
    } catch (const std::exception& e) {
      ++crashes;
      if (failures.size() < 5) failures.push_back(std::string("uncaught exception: ") + e.what());
    }
  }
  void Print() const {
    std::printf("FIGURE|%s|inputs|%ld\n", name.c_str(), inputs);
    for (const auto& [key, value] : extra) std::printf("FIGURE|%s|%s|%ld\n", name.c_str(), key.c_str(), value);
    std::printf("FIGURE|%s|crashes|%ld\n", name.c_str(), crashes);
    std::printf("FIGURE|%s|unexpected results|%ld\n", name.c_str(), unexpected);
    for (const auto& f : failures) std::fprintf(stderr, "%s: %s\n", name.c_str(), f.c_str());
  }
};

// ---------------------------------------------------------------- command line

// The option matches whatever the letter case, and only as the whole text.
bool IsClearOption(std::u16string_view text) {
  const std::u16string_view option = u"/CLEAR";
  if (text.size() != option.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    const char16_t folded = c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
    if (folded != option[i]) return false;
  }
  return true;
}

std::u16string RandomCaseClear(Random& random) {
  std::u16string text = u"/clear";
  for (char16_t& c : text)
    if (c != u'/' && random.Coin()) c = static_cast<char16_t>(c - u'a' + u'A');
  return text;
}

void CheckCommandLine(Section& section, const std::u16string& arguments) {
  section.Run([&] {
    FakePlatform platform;
    platform.settings.values[u"ZEFTA\\SYSTEM\\DIR"] = u"1";
    platform.environment.arguments = arguments;
    MainWindow window{platform.services};
    const bool goesOn = window.Initialize();
    const bool clears = IsClearOption(arguments);
    if (clears) ++section.extra["settings cleared"];
    const bool ok = goesOn == !clears && platform.settings.deletions == (clears ? 1 : 0) &&
                    platform.desktop.ended == clears && platform.messages.shown.empty() &&
                    platform.settings.writes.empty() &&
                    platform.settings.values.count(u"ZEFTA\\SYSTEM\\DIR") == (clears ? 0u : 1u);
    if (!ok) section.Fail("command line of " + std::to_string(arguments.size()) + " characters");
  });
}

void CommandLines(long n, Random& random, Section& section) {
  const std::vector<std::u16string> fragments{u"/CLEAR", u"/clear", u"/", u"CLEAR", u" ", u"\t", u"\"",
                                              u"-clear"};
  for (long i = 0; i < n; ++i) {
    // Random text: any 16-bit units, or pieces that come close to the option.
    std::u16string text;
    const std::size_t length = random.Below(300);
    if (random.Coin()) {
      for (std::size_t k = 0; k < length; ++k) text += random.AnyUnit();
    } else {
      while (text.size() < length % 24) text += random.Pick(fragments);
    }
    CheckCommandLine(section, text);

    // Very long: up to the platform's 32767-character command line.
    const std::size_t longLength = 1000 + random.Below(31768);
    std::u16string longText = random.Coin() ? RandomCaseClear(random) : u"";
    while (longText.size() < longLength) longText += random.Coin() ? u' ' : static_cast<char16_t>(u'A' + random.Below(26));
    CheckCommandLine(section, longText);

    // The option in any letter case matches; with anything around it, not.
    const std::u16string option = RandomCaseClear(random);
    CheckCommandLine(section, option);
    const std::u16string around[] = {u" ", u"\t", u"x", u"\"", std::u16string(1, u'\0'), u"/", u"\u3000"};
    std::u16string variant = option;
    const std::u16string& extra = around[random.Below(std::size(around))];
    if (random.Coin()) variant = extra + variant;
    else variant += extra;
    CheckCommandLine(section, variant);
  }
}

// -------------------------------------------------------------- settings values

const char16_t* const kKeys[] = {u"DRV", u"STTPOS", u"MSG", u"MARK", u"DIR", u"SMALL", u"EXT"};

// A stored value and how the program reads it: the 16-bit integer it holds
// once cut to the 256-character field, or none.
struct SettingValue {
  std::string kind;
  std::u16string text;
  std::optional<int> integer;
};

SettingValue MakeSettingValue(Random& random) {
  switch (random.Below(5)) {
    case 0: {  // binary: any units, with at least one that no number holds
      std::u16string text;
      const std::size_t length = 1 + random.Below(200);
      for (std::size_t k = 0; k < length; ++k) text += random.AnyUnit();
      text[random.Below(length)] = static_cast<char16_t>(random.Coin() ? random.Below(0x20) : 0x80 + random.Below(0xFF00));
      return {"binary", text, std::nullopt};
    }
    case 1: {  // 10,000 characters
      std::u16string text;
      switch (random.Below(5)) {
        case 0:
          text = u"1" + std::u16string(9999, u'7');  // far too many digits
          return {"10,000 characters", text, std::nullopt};
        case 1:
          text = u"5" + std::u16string(9999, u' ');  // the field keeps "5" and blanks
          return {"10,000 characters", text, 5};
        case 2:
          text = std::u16string(9999, u' ') + u"5";  // the field holds blanks only
          return {"10,000 characters", text, std::nullopt};
        case 3:
          text = std::u16string(255, u'0') + u"2" + std::u16string(9744, u'9');  // cut after the 2
          return {"10,000 characters", text, 2};
        default:
          for (int k = 0; k < 10000; ++k) text += static_cast<char16_t>(u'A' + random.Below(58));
          return {"10,000 characters", text, std::nullopt};
      }
    }
    case 2: {  // negative, inside and outside the 16-bit range
      const long value = -1 - static_cast<long>(random.Below(random.Coin() ? 32768 : 200000));
      std::u16string text = Ascii(std::to_string(value));
      if (random.Coin()) text = u"  " + text + u" ";
      return {"negative", text, value >= -32768 ? std::optional<int>(value) : std::nullopt};
    }
    case 3: {  // huge
      const std::string digits[] = {"32767", "32768", "65535", "65536", "2147483648", "99999999999999999999",
                                    std::string(300, '9')};
      const std::string chosen = digits[random.Below(std::size(digits))];
      return {"huge", Ascii(chosen), chosen == "32767" ? std::optional<int>(32767) : std::nullopt};
    }
    default:
      return {"empty", u"", std::nullopt};
  }
}

// The state the window shows after loading, and what it writes back.
struct Loaded {
  bool startPosition, msgOn, selectMark;
  int dir, small, ext;
  std::u16string path;
  std::map<std::u16string, std::u16string> saved;
};

Loaded StartAndEnd(std::map<std::u16string, std::u16string> stored, FakePlatform& platform) {
  platform.files.AddDirectory(u"c:\\data");
  platform.files.AddFile(u"c:\\data\\README.TXT");
  platform.settings.values = std::move(stored);
  MainWindow window{platform.services};
  window.SetHandle(42);
  window.Load();
  Loaded loaded{window.SMenuStartPosition.Checked(), window.SMenuMsgOn.Checked(),
                window.SMenuCfgSelectMark.Checked(), window.DirCheck.Value(), window.SmallCheck.Value(),
                window.ExtCheck.Value(), window.DirList.Path(), {}};
  window.SaveSettings();
  loaded.saved = platform.settings.values;
  return loaded;
}

void SettingsValues(long n, Random& random, Section& section) {
  for (long i = 0; i < n; ++i) {
    for (int keyIndex = 0; keyIndex < 7; ++keyIndex) {
      const SettingValue value = MakeSettingValue(random);
      section.Run([&] {
        const std::u16string key = kKeys[keyIndex];
        FakePlatform platform;
        const Loaded first = StartAndEnd({{u"ZEFTA\\SYSTEM\\" + key, value.text}}, platform);
        const std::string what = value.kind + " value for " + std::string(key.begin(), key.end());

        // Every key gets its default, but the bad one: a number the key
        // takes is applied; anything else ends the loading there, and the
        // keys from there on keep the window's initial state.
        int expected[7] = {0, 1, 1, 0, 0, 0, 0};
        if (keyIndex > 0) {
          const bool menu = keyIndex <= 3;
          const bool applies = value.integer && (menu || (*value.integer >= 0 && *value.integer <= 2));
          if (applies) {
            expected[keyIndex] = menu ? *value.integer != 0 : *value.integer;
          } else {
            for (int k = keyIndex; k < 7; ++k) expected[k] = 0;
            ++section.extra["loads ended early"];
          }
        }
        const int actual[7] = {0, first.startPosition, first.msgOn, first.selectMark, first.dir, first.small, first.ext};
        bool ok = true;
        for (int k = 1; k < 7; ++k) ok = ok && actual[k] == expected[k];
        // Whatever DRV held, the window shows a folder that exists.
        ok = ok && platform.files.DirectoryExists(first.path);
        if (!ok) section.Fail(what);

        // What is written back is sound, so the next start takes it as it is.
        FakePlatform next;
        const Loaded second = StartAndEnd(first.saved, next);
        const bool healed = second.startPosition == first.startPosition && second.msgOn == first.msgOn &&
                            second.selectMark == first.selectMark && second.dir == first.dir &&
                            second.small == first.small && second.ext == first.ext && second.path == first.path &&
                            second.saved == first.saved;
        if (!healed) section.Fail(what + ": not taken back at the next start");
      });
    }
  }
}

// ------------------------------------------------------------------ list files

struct ListedTree {
  std::vector<std::pair<std::string, std::string>> entries;  // directory and name, code-page bytes
};

// A small tree with names in every letter case, Japanese and half-width
// katakana (bytes in Shift-JIS; 0x95 0x5C is a kanji whose trail byte is "\").
ListedTree MakeTree(Random& random) {
  const std::vector<std::string> names{"README.TXT", "readme.md", "Photo.JPEG", "archive.tar.GZ", ".Login",
                                       "Makefile",   "NAME.",     "\x83\x66\x81\x5B\x83\x5E.TXT",
                                       "\x95\x5C.Doc", "\xC3\xDE\xA8\xDA.Ext", "mixed.CaSe"};
  const std::vector<std::string> dirs{"C:\\T", "C:\\T\\Sub", "C:\\T\\\x95\x5C", "C:\\T\\dir.D"};
  ListedTree tree;
  const std::size_t count = 2 + random.Below(10);
  for (std::size_t k = 0; k < count; ++k)
    tree.entries.push_back({random.Pick(dirs), random.Pick(names) + std::to_string(k)});
  return tree;
}

std::string PairLine(const std::string& dir, const std::string& name) {
  return "\"" + dir + "\", \"" + name + "\"\r\n";
}

// A line changed by a few random byte edits.
std::string Mutate(std::string line, Random& random) {
  static const char kAlphabet[] = "\"\",,  \r\n\\\t:*?\x95\x5C\x83\x81\xB1";
  const std::string alphabet(kAlphabet, sizeof kAlphabet);  // the NUL too
  const std::size_t edits = 1 + random.Below(4);
  for (std::size_t e = 0; e < edits; ++e) {
    const std::size_t at = random.Below(line.size() + 1);
    const char c = random.Coin() ? alphabet[random.Below(alphabet.size())] : static_cast<char>(random.Below(256));
    switch (random.Below(3)) {
      case 0: line.insert(line.begin() + at, c); break;
      case 1: if (at < line.size()) line.erase(at, 1); break;
      default: if (at < line.size()) line[at] = c; break;
    }
  }
  return line;
}

void CheckListFile(Section& section, const std::string& bytes, const ListedTree& tree,
                   const std::vector<std::size_t>& intactLines, Random& random) {
  section.Run([&] {
    FakePlatform platform;
    fuzz::ShiftJisStandIn codePage;
    const Services services{platform.files,         platform.messages,    platform.settings,
                            platform.environment,   platform.desktop,     platform.folderPicker,
                            codePage,               platform.treeLister,  platform.fileReader,
                            platform.windows};
    for (const auto& [dir, name] : tree.entries) platform.files.AddFile(codePage.FromAnsi(dir + "\\" + name));
    const auto before = platform.files.AllPaths();
    platform.fileReader.files[u"C:\\TEMP\\ZEFTA.TMP"] = bytes;

    ProgramState state;
    state.tempDir = u"C:\\TEMP";
    MenuItem selectMark, msgOn;
    selectMark.SetChecked(random.Coin());
    msgOn.SetChecked(random.Coin());
    const CaseOptions options{random.Coin(), random.Coin()};
    ConversionEngine engine{platform.files, state.processedCount, state.convertedCount};
    ConversionListWindow window{{services, state, engine, selectMark, msgOn, [&] { return options; }, {}}};
    window.SetHandle(8);
    window.Load();
    const std::vector<std::u16string> listed = window.ChangeFileList(window.ListInUse()).Items();
    section.extra["entries listed"] += static_cast<long>(listed.size());
    window.ChangeStart_Click();

    bool ok = true;
    for (const std::u16string& path : listed)
      for (char16_t c : path) ok = ok && c >= 0x20;
    // A damaged line never takes a sound one with it.
    for (std::size_t line : intactLines) {
      const auto& [dir, name] = tree.entries[line];
      const std::u16string path = codePage.FromAnsi(dir + "\\" + name);
      bool found = false;
      for (const auto& p : listed) found = found || p == path;
      ok = ok && found;
    }
    // Renames change letter case only; no entry is lost or moved.
    for (const auto& [from, to] : platform.files.renameCalls) ok = ok && Upper(from) == Upper(to);
    section.extra["renames"] += static_cast<long>(platform.files.renameCalls.size());
    const auto after = platform.files.AllPaths();
    std::multiset<std::u16string> beforeKeys, afterKeys;
    for (const auto& p : before) beforeKeys.insert(Upper(p));
    for (const auto& p : after) afterKeys.insert(Upper(p));
    long lost = 0;
    for (const auto& key : beforeKeys) lost += afterKeys.count(key) == 0;
    section.extra["entries lost"] += lost;
    ok = ok && lost == 0 && after.size() == before.size();
    if (!ok) section.Fail("list file of " + std::to_string(bytes.size()) + " bytes");
  });
}

void ListFiles(long n, Random& random, Section& section) {
  static const char kStructure[] = "\"\",,  \r\n\r\n\\\tAaZz.:\x95\x5C\x83\x81\xB1\xDF";
  const std::string structure(kStructure, sizeof kStructure - 1);
  for (long i = 0; i < n; ++i) {
    const ListedTree tree = MakeTree(random);

    // Random bytes, uniform.
    std::string bytes;
    for (std::size_t k = random.Below(4096); k > 0; --k) bytes += static_cast<char>(random.Below(256));
    CheckListFile(section, bytes, tree, {}, random);

    // Random bytes drawn from the characters the format is made of.
    bytes.clear();
    for (std::size_t k = random.Below(2048); k > 0; --k) bytes += structure[random.Below(structure.size())];
    CheckListFile(section, bytes, tree, {}, random);

    // The tree's list file with one line damaged.
    const std::size_t damaged = random.Below(tree.entries.size());
    std::vector<std::size_t> intact;
    bytes.clear();
    for (std::size_t k = 0; k < tree.entries.size(); ++k) {
      const std::string line = PairLine(tree.entries[k].first, tree.entries[k].second);
      if (k == damaged) {
        // The damaged line keeps its line end, or the next line joins it.
        std::string broken = Mutate(line.substr(0, line.size() - 2), random);
        bytes += broken + "\r\n";
      } else {
        bytes += line;
        intact.push_back(k);
      }
    }
    CheckListFile(section, bytes, tree, intact, random);
  }
}

}  // namespace
}  // namespace zefta::testing

int main(int argc, char** argv) {
  using namespace zefta::testing;
  const long n = argc > 1 ? std::atol(argv[1]) : 100;
  const std::uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 7;
  Random random(seed);

  Section commandLine{"bad input: command lines"};
  Section settings{"bad input: settings values"};
  Section listFiles{"bad input: list files"};
  commandLine.extra["settings cleared"] = 0;
  settings.extra["loads ended early"] = 0;
  listFiles.extra["entries listed"] = 0;
  listFiles.extra["renames"] = 0;
  listFiles.extra["entries lost"] = 0;

  CommandLines(n, random, commandLine);
  SettingsValues(n, random, settings);
  ListFiles(n, random, listFiles);

  long bad = 0;
  for (const Section* s : {&commandLine, &settings, &listFiles}) {
    s->Print();
    bad += s->crashes + s->unexpected;
  }
  std::fflush(stdout);
  return bad == 0 ? 0 : 1;
}
