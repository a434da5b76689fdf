#include "agentphone/core/ini_file.h"

#include <gtest/gtest.h>

#include <string>

#include "agentphone/core/text_encoding.h"
#include "agentphone/core/text_routines.h"
#include "support/temp_dir.h"

namespace agentphone {
namespace {

class IniFileTest : public ::testing::Test {
 protected:
  std::string Get(const std::string& section, const std::string& key) {
    return GetIniValue(dir_.Path(), "SOFTPHONE.ini", section, key);
  }
  bool Put(const std::string& section, const std::string& key, const std::string& value) {
    return WriteIniValue(dir_.Path(), "SOFTPHONE.ini", section, key, value);
  }
  void Write(const std::string& text) { dir_.WriteFile("SOFTPHONE.ini", text); }
  std::string Contents() { return vomtel::test::ReadFile(dir_ / "SOFTPHONE.ini"); }

  vomtel::test::TempDir dir_;
};

TEST_F(IniFileTest, ReadsValuesLikeAPrivateProfile) {
  Write("; comment=1\r\n"
        "[SoftPhone]\r\n"
        "  Login = 1  \r\n"
        "A=Null\r\n"
        "B=null\r\n"
        "C=\"quoted value\"\r\n"
        "D=\r\n"
        ";E=commented\r\n"
        "[CTIINFO]\r\n"
        "IP=10.0.0.1\r\n"
        "[softphone]\r\n"
        "F=second section is not read\r\n");
  EXPECT_EQ(Get("SOFTPHONE", "LOGIN"), "1");  // names in any case, blanks around them
  EXPECT_EQ(Get("SOFTPHONE", "A"), "");        // "Null" reads as empty
  EXPECT_EQ(Get("SOFTPHONE", "B"), "null");    // other cases unchanged
  EXPECT_EQ(Get("SOFTPHONE", "C"), "quoted value");
  EXPECT_EQ(Get("SOFTPHONE", "D"), "");
  EXPECT_EQ(Get("SOFTPHONE", "E"), "");
  EXPECT_EQ(Get("SOFTPHONE", "IP"), "");       // key of another section
  EXPECT_EQ(Get("CTIINFO", "ip"), "10.0.0.1");
  EXPECT_EQ(Get("SOFTPHONE", "F"), "");        // the first matching section wins
  EXPECT_EQ(Get("NOSECTION", "LOGIN"), "");
  EXPECT_EQ(GetIniValue(dir_.Path(), "missing.ini", "SOFTPHONE", "LOGIN"), "");
}

TEST_F(IniFileTest, LongValuesAreCutOnACharacterBoundary) {
  Write("[S]\nA=" + std::string(300, 'x') + "\nB=" + std::string(253, 'y') + "한\n");
  EXPECT_EQ(Get("S", "A"), std::string(254, 'x'));
  EXPECT_EQ(Get("S", "B"), std::string(253, 'y'));  // the three-byte character does not fit
}

TEST_F(IniFileTest, WritesKeepEveryOtherLine) {
  const std::string before =
      "; desk settings\r\n"
      "[SOFTPHONE]\r\n"
      "ID=agent7   ; not a comment, part of the value\r\n"
      "DN=1001\r\n"
      "\r\n"
      "[CTIINFO]\r\n"
      "IP=10.0.0.1";  // last line without a line ending
  Write(before);
  ASSERT_TRUE(Put("softphone", "dn", "2002"));
  EXPECT_EQ(Contents(),
            "; desk settings\r\n[SOFTPHONE]\r\nID=agent7   ; not a comment, part of the value\r\n"
            "DN=2002\r\n\r\n[CTIINFO]\r\nIP=10.0.0.1");
  ASSERT_TRUE(Put("SOFTPHONE", "VIEW", "1"));  // a new key goes after the section's last line
  ASSERT_TRUE(Put("DNINFO", "1001", "홍길동"));  // a new section at the end
  EXPECT_EQ(Contents(),
            "; desk settings\r\n[SOFTPHONE]\r\nID=agent7   ; not a comment, part of the value\r\n"
            "DN=2002\r\nVIEW=1\r\n\r\n[CTIINFO]\r\nIP=10.0.0.1\r\n[DNINFO]\r\n1001=홍길동\r\n");
  EXPECT_EQ(Get("DNINFO", "1001"), "홍길동");
  EXPECT_EQ(Get("SOFTPHONE", "ID"), "agent7   ; not a comment, part of the value");
}

TEST_F(IniFileTest, WriteCreatesTheFileAndRefusesLineBreaks) {
  ASSERT_TRUE(Put("SOFTPHONE", "ID", "a1"));
  EXPECT_EQ(Contents(), "[SOFTPHONE]\r\nID=a1\r\n");
  EXPECT_FALSE(Put("SOFTPHONE", "ID", "x\r\n[EVIL]\r\nK=v"));
  EXPECT_FALSE(Put("SOFT]PHONE", "ID", "x"));
  EXPECT_FALSE(Put("SOFTPHONE", "I=D", "x"));
  EXPECT_FALSE(Put("SOFTPHONE", " ", "x"));
  EXPECT_EQ(Contents(), "[SOFTPHONE]\r\nID=a1\r\n");
  EXPECT_FALSE(WriteIniValue(dir_ / "no/such/folder", "SOFTPHONE.ini", "S", "K", "v"));
}

TEST_F(IniFileTest, ACp949FileIsReadAndWrittenBackAsCp949) {
  const std::string name = Utf8ToCp949("김상담");
  ASSERT_FALSE(IsValidUtf8(name));
  Write("; " + Utf8ToCp949("내선 이름") + "\r\n[DNINFO]\r\n1001=" + name + "\r\n");
  EXPECT_EQ(Get("DNINFO", "1001"), "김상담");
  ASSERT_TRUE(Put("DNINFO", "1002", "이상담"));
  ASSERT_TRUE(Put("DNINFO", "1003", "\xF0\x9F\x98\x80"));  // no CP949 form
  EXPECT_EQ(Contents(), "; " + Utf8ToCp949("내선 이름") + "\r\n[DNINFO]\r\n1001=" + name +
                            "\r\n1002=" + Utf8ToCp949("이상담") + "\r\n1003=?\r\n");
  EXPECT_EQ(Get("DNINFO", "1002"), "이상담");
}

TEST_F(IniFileTest, ACp949ValueIsCutOnItsOwnCharacters) {
  // 127 two-byte characters are 254 bytes; one more does not fit.
  std::string value;
  for (int i = 0; i < 128; ++i) value += "가";
  Write("[S]\nK=x" + Utf8ToCp949(value) + "\n");
  std::string expected = "x";
  for (int i = 0; i < 126; ++i) expected += "가";
  EXPECT_EQ(Get("S", "K"), expected);
}

}  // namespace
}  // namespace agentphone
