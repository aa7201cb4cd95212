// Named mappings as record arrays, and named mutexes across threads.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "kestrum.h"

namespace {

std::string UniqueName(const char* what) {
  return std::string("kestrum-test-") + what + "-" + std::to_string(GetCurrentProcessId());
}

TEST(KestrumMapping, TwoHandlesShareTheRecords) {
  const std::string name = UniqueName("map");
  HANDLE first = nullptr, second = nullptr;
  void* firstView = nullptr;
  void* secondView = nullptr;
  ASSERT_EQ(MappingCreate_(name.c_str(), 64, &first, &firstView), 1);
  ASSERT_NE(firstView, nullptr);
  ASSERT_EQ(MappingOpenB_(name.c_str(), &second, &secondView), 1);
  ASSERT_NE(secondView, nullptr);
  EXPECT_NE(firstView, secondView);

  unsigned char record[16];
  for (int i = 0; i < 16; ++i) record[i] = static_cast<unsigned char>(0xA0 + i);
  EXPECT_EQ(MappingWrite_(firstView, record, 3, 16), 1);
  const unsigned char* bytes = static_cast<const unsigned char*>(secondView);
  EXPECT_EQ(bytes[31], 0);  // record 3 of 16 bytes is bytes 32 to 47
  EXPECT_EQ(bytes[32], 0xA0);
  EXPECT_EQ(bytes[47], 0xAF);
  EXPECT_EQ(bytes[48], 0);

  unsigned char copy[16] = {};
  EXPECT_EQ(MappingReadB_(secondView, copy, 3, 16), 1);
  EXPECT_EQ(std::memcmp(copy, record, 16), 0);
  unsigned char pair[2] = {};
  EXPECT_EQ(MappingRead_(secondView, pair, 17, 2), 1);  // bytes 32 and 33
  EXPECT_EQ(pair[0], 0xA0);
  EXPECT_EQ(pair[1], 0xA1);

  // The same name again with a smaller size maps part of the same object.
  HANDLE third = nullptr;
  void* thirdView = nullptr;
  ASSERT_EQ(MappingCreate_(name.c_str(), 48, &third, &thirdView), 1);
  EXPECT_EQ(static_cast<const unsigned char*>(thirdView)[33], 0xA1);

  EXPECT_EQ(MappingClose_(&third, &thirdView), 1);
  EXPECT_EQ(MappingCloseB_(&second, &secondView), 1);
  EXPECT_EQ(second, nullptr);
  EXPECT_EQ(secondView, nullptr);
  EXPECT_EQ(MappingClose_(&first, &firstView), 1);
}

TEST(KestrumMapping, NothingIsCopiedForANullViewRecordZeroOrSizeZero) {
  HANDLE mapping = nullptr;
  void* view = nullptr;
  ASSERT_EQ(MappingCreate_(nullptr, 32, &mapping, &view), 1);
  std::memset(view, 0x11, 32);
  const unsigned char source[32] = {};
  unsigned char destination[4] = {7, 7, 7, 7};
  EXPECT_EQ(MappingWrite_(view, source, 0, 4), 0);
  EXPECT_EQ(MappingWrite_(view, source, 1, 0), 0);
  EXPECT_EQ(MappingWrite_(nullptr, source, 1, 4), 0);
  EXPECT_EQ(MappingRead_(view, destination, 0, 4), 0);
  EXPECT_EQ(MappingRead_(nullptr, destination, 1, 4), 0);
  EXPECT_EQ(static_cast<unsigned char*>(view)[0], 0x11);
  EXPECT_EQ(destination[0], 7);

  HANDLE closed = mapping;
  void* closedView = view;
  EXPECT_EQ(MappingClose_(&mapping, &view), 1);
  // Closing again, with handles that are no longer valid, still gives 1.
  EXPECT_EQ(MappingClose_(&closed, &closedView), 1);
  EXPECT_EQ(closed, nullptr);
  EXPECT_EQ(closedView, nullptr);
}

TEST(KestrumMapping, OpeningAMissingNameKeepsTheView) {
  HANDLE mapping = reinterpret_cast<HANDLE>(0x1234);
  void* view = reinterpret_cast<void*>(0x5678);
  EXPECT_EQ(MappingOpen_(UniqueName("none").c_str(), &mapping, &view), 0);
  EXPECT_EQ(mapping, nullptr);
  EXPECT_EQ(view, reinterpret_cast<void*>(0x5678));
}

struct Owner {
  std::string name;
  HANDLE owns = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE finish = CreateEventA(nullptr, TRUE, FALSE, nullptr);
};

DWORD WINAPI OwnAndWait(void* context) {
  Owner* owner = static_cast<Owner*>(context);
  HANDLE mutex = nullptr;
  if (MutexCreate_(owner->name.c_str(), &mutex) == 1 && MutexReserve_(mutex, INFINITE) == 1) {
    SetEvent(owner->owns);
    WaitForSingleObject(owner->finish, INFINITE);
  }
  CloseHandle(mutex);  // ends without releasing: the mutex is abandoned
  return 0;
}

TEST(KestrumMutex, ReserveTimesOutWithoutOwnershipAndFailsOnAClosedHandle) {
  Owner owner;
  owner.name = UniqueName("mutex");
  const HANDLE thread = CreateThread(nullptr, 0, OwnAndWait, &owner, 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(owner.owns, 5000), WAIT_OBJECT_0);

  HANDLE mutex = reinterpret_cast<HANDLE>(0x1234);
  ASSERT_EQ(MutexOpenB_(owner.name.c_str(), &mutex), 1);
  EXPECT_EQ(MutexReserve_(mutex, 0), 1);  // time-out
  EXPECT_EQ(MutexRelease_(mutex), 0);     // ... so it is not ours to release

  SetEvent(owner.finish);
  WaitForSingleObject(thread, 5000);
  CloseHandle(thread);
  EXPECT_EQ(MutexReserveB_(mutex, 5000), 1);  // abandoned: now ours
  EXPECT_NE(MutexReleaseB_(mutex), 0);

  EXPECT_NE(MutexClose_(mutex), 0);
  EXPECT_EQ(MutexReserve_(mutex, 0), 0);
  EXPECT_EQ(MutexClose_(mutex), 0);
  CloseHandle(owner.owns);
  CloseHandle(owner.finish);
}

TEST(KestrumMutex, CreateOpensAnExistingNameAndOpenFailsOnAMissingOne) {
  const std::string name = UniqueName("pair");
  HANDLE first = nullptr, second = nullptr;
  ASSERT_EQ(MutexCreate_(name.c_str(), &first), 1);
  ASSERT_EQ(MutexCreateB_(name.c_str(), &second), 1);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(MutexReserve_(first, 0), 1);
  EXPECT_NE(MutexRelease_(second), 0);  // the same mutex under two handles
  EXPECT_NE(MutexCloseB_(second), 0);
  EXPECT_NE(MutexClose_(first), 0);

  HANDLE missing = reinterpret_cast<HANDLE>(0x1234);
  EXPECT_EQ(MutexOpen_(UniqueName("missing").c_str(), &missing), 0);
  EXPECT_EQ(missing, nullptr);
}

}  // namespace
