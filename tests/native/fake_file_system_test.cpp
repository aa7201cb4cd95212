// The fake file system's own behaviour that the other tests rely on.
#include <gtest/gtest.h>

#include "fake_file_system.h"

namespace zefta {
namespace {

using testing::FakeFileSystem;
using Kind = FakeFileSystem::Kind;

// Wine looks a path up one part at a time, the exact spelling first: below a
// folder named in another spelling, each of two case twins is still found.
TEST(FakeFileSystemOnWine, LooksPathsUpOnePartAtATime) {
  FakeFileSystem files(Kind::WineOnLinux);
  files.AddFile(u"c:\\Top\\Sub\\Aa.JPEG", "first");
  files.AddFile(u"c:\\Top\\Sub\\aA.jpeg", "second");
  files.AddLink(u"c:\\Top\\Link", u"c:\\Top\\Sub");
  EXPECT_EQ(files.Find(u"c:\\top\\SUB\\aA.jpeg")->content, "second");
  EXPECT_EQ(files.Find(u"C:\\TOP\\sub\\Aa.JPEG")->content, "first");
  EXPECT_EQ(files.Find(u"c:\\top\\link\\aA.jpeg")->content, "second");
}

}  // namespace
}  // namespace zefta
