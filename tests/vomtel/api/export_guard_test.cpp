// The shared pieces of the exports: the catch-all, the bounded readers of caller records and
// the bounded list copy.
#include "vomtel/api/export_guard.h"

#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace vomtel::api {
namespace {

TEST(ExportGuardTest, EveryExceptionBecomesTheInternalErrorCode) {
  EXPECT_EQ(Export([]() -> int { throw std::runtime_error("x"); }), 3112);
  EXPECT_EQ(Export([]() -> int { throw std::bad_alloc(); }), 3112);
  EXPECT_EQ(Export([]() -> int { throw 7; }), 3112);
  EXPECT_EQ(Export([] { return 4242; }), 4242);
}

TEST(ExportGuardTest, TextsOfRecordsEndAtTheirNulOrTheirField) {
  struct {
    char field[8];
    char next[8];
  } record;
  std::memcpy(record.field, "12345678", 8);  // no NUL in the field
  std::memcpy(record.next, "NEXT\0\0\0", 8);
  EXPECT_EQ(FieldText(record.field), "12345678");
  std::memcpy(record.field, "12\0" "45678", 8);
  EXPECT_EQ(FieldText(record.field), "12");
  EXPECT_EQ(Text(nullptr), "");
  EXPECT_EQ(BlockText(nullptr), "");
}

TEST(ExportGuardTest, ListsAreCopiedUpToTheRoomOnly) {
  EXPECT_EQ(ListRoom(0, 100), 0u);
  EXPECT_EQ(ListRoom(-3, 100), 0u);
  EXPECT_EQ(ListRoom(5, 100), 5u);
  EXPECT_EQ(ListRoom(500, 100), 100u);

  const std::vector<int> list{1, 2, 3, 4};
  int entries[3] = {-1, -1, -1};
  EXPECT_EQ(CopyEntries(list, entries, 2, [](int from, int& to) { to = from * 10; }), 2u);
  EXPECT_EQ(entries[0], 10);
  EXPECT_EQ(entries[1], 20);
  EXPECT_EQ(entries[2], -1);
}

TEST(ExportGuardTest, CopiedTextsAreCutAndTerminated) {
  char field[5];
  std::memset(field, 'x', sizeof field);
  EXPECT_EQ(PutText("abcdefgh", field), 4u);
  EXPECT_EQ(std::string(field), "abcd");
}

}  // namespace
}  // namespace vomtel::api
