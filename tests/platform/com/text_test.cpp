// BSTR layout, the narrow code page, GUID text and Windows-form paths.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "vomcom/bstr.h"

namespace {

using vomcom::Bstr;

TEST(Bstr, KeepsByteLengthBeforeAndNulAfter) {
  BSTR b = SysAllocString(u"Test");
  uint32_t prefix;
  std::memcpy(&prefix, reinterpret_cast<char*>(b) - 4, 4);
  EXPECT_EQ(prefix, 8u);
  EXPECT_EQ(b[4], 0);
  EXPECT_EQ(SysStringLen(b), 4u);
  SysFreeString(b);

  BSTR odd = SysAllocStringByteLen("abc", 3);
  EXPECT_EQ(SysStringByteLen(odd), 3u);
  EXPECT_EQ(reinterpret_cast<char*>(odd)[3], 0);
  EXPECT_EQ(reinterpret_cast<char*>(odd)[4], 0);
  SysFreeString(odd);

  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  SysFreeString(nullptr);
  BSTR empty = SysAllocStringLen(nullptr, 0);
  ASSERT_NE(empty, nullptr);
  SysFreeString(empty);
}

TEST(Bstr, RoundTripsUtf8) {
  EXPECT_EQ(Bstr("상담원 ready ☎").Utf8(), "상담원 ready ☎");
  EXPECT_EQ(Bstr(u"\U0001F600").Utf8(), "\xF0\x9F\x98\x80");
}

class CodePage : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(VcSetCodePage("CP949"), S_OK); }
};

TEST_F(CodePage, RoundTripsKoreanThroughCp949) {
  Bstr text("상담원 홍길동 ABC");
  std::string narrow = text.ToNarrow();
  // Each Hangul syllable is two bytes in CP949.
  EXPECT_EQ(narrow.size(), 6u + 1 + 6 + 1 + 3);
  EXPECT_EQ(static_cast<unsigned char>(narrow[0]), 0xBBu);  // 상 = BB F3
  EXPECT_EQ(static_cast<unsigned char>(narrow[1]), 0xF3u);
  EXPECT_EQ(Bstr::FromNarrow(narrow.c_str(), narrow.size()).Utf8(), "상담원 홍길동 ABC");
}

TEST_F(CodePage, CutsOnACharacterBoundary) {
  Bstr text("A상담");  // 1 + 2 + 2 bytes
  struct Case {
    size_t fieldSize;
    const char* expected;  // UTF-8 of what fits
  } cases[] = {{1, ""}, {2, "A"}, {3, "A"}, {4, "A상"}, {5, "A상"}, {6, "A상담"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fieldSize);
    char buf[16];
    std::memset(buf, 'x', sizeof buf);
    size_t n = VcBstrToNarrow(text.Get(), buf, c.fieldSize);
    EXPECT_LT(n, c.fieldSize);
    EXPECT_EQ(buf[n], '\0');
    EXPECT_EQ(Bstr::FromNarrow(buf, n).Utf8(), c.expected);
    EXPECT_EQ(text.ToNarrowCut(c.fieldSize).size(), n);
  }
  char untouched = 'x';
  EXPECT_EQ(VcBstrToNarrow(text.Get(), &untouched, 0), 0u);
  EXPECT_EQ(untouched, 'x');
}

TEST_F(CodePage, MarksWhatItCannotConvert) {
  // No CP949 form for the emoji or the Devanagari letter.
  EXPECT_EQ(Bstr("a\U0001F600b\u0915").ToNarrow(), "a?b?");
  // A lead byte without its trail at the end, and a byte that starts no character.
  const char cut[] = "AB\xBB";
  EXPECT_EQ(Bstr::FromNarrow(cut, 3).Utf8(), "AB?");
  EXPECT_EQ(Bstr::FromNarrow("x\xFFy", 3).Utf8(), "x?y");
  // Reading stops at maxBytes and at a NUL.
  EXPECT_EQ(Bstr::FromNarrow("abcdef", 3).Utf8(), "abc");
  EXPECT_EQ(Bstr::FromNarrow("ab\0cd", 5).Utf8(), "ab");
  EXPECT_EQ(VcSetCodePage("NO-SUCH-CODEPAGE"), E_INVALIDARG);
}

TEST(GuidText, RoundTripsAndRejectsMalformedText) {
  GUID g{};
  ASSERT_EQ(VcGuidFromText("{46BE120F-FA60-4FEC-8327-5690F3E31C31}", &g), S_OK);
  EXPECT_EQ(g.Data1, 0x46BE120Fu);
  EXPECT_EQ(g.Data4[7], 0x31);
  char text[39];
  VcGuidToText(g, text);
  EXPECT_STREQ(text, "{46BE120F-FA60-4FEC-8327-5690F3E31C31}");
  OLECHAR wide[39];
  EXPECT_EQ(StringFromGUID2(IID_IDispatch, wide, 39), 39);
  GUID back{};
  EXPECT_EQ(CLSIDFromString(wide, &back), S_OK);
  EXPECT_TRUE(IsEqualGUID(back, IID_IDispatch));
  EXPECT_EQ(StringFromGUID2(IID_IDispatch, wide, 38), 0);
  // IDispatch in memory as the platform lays it out.
  const uint8_t bytes[16] = {0x00, 0x04, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                             0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
  EXPECT_EQ(std::memcmp(&IID_IDispatch, bytes, 16), 0);
  for (const char* bad : {"", "{46BE120F-FA60-4FEC-8327-5690F3E31C3}", "46BE120F_FA60",
                          "{46BE120F-FA60-4FEC-8327-5690F3E31C3G}"})
    EXPECT_EQ(VcGuidFromText(bad, &g), CO_E_CLASSSTRING) << bad;
}

TEST(WindowsPath, MapsDrivesBelowTheRoot) {
  setenv("VOMTEL_DRIVE_ROOT", "/tmp/drives/", 1);
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"C:\\softphone", "/tmp/drives/C/softphone"},
      {"c:\\softphone\\\\log\\", "/tmp/drives/C/softphone/log/"},
      {"D:", "/tmp/drives/D"},
      {"C:/a//b", "/tmp/drives/C/a/b"},
      {"relative\\dir", "relative/dir"},
      {"\\\\server\\share", "/server/share"},
  };
  for (const Case& c : cases) {
    char out[128];
    ASSERT_EQ(VcMapWindowsPath(c.in, out, sizeof out), 1) << c.in;
    EXPECT_STREQ(out, c.out) << c.in;
  }
  char small[8];
  EXPECT_EQ(VcMapWindowsPath("C:\\softphone", small, sizeof small), 0);
  unsetenv("VOMTEL_DRIVE_ROOT");
}

}  // namespace
