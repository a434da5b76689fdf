#include "vomtel/core/ini_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "vomtel/core/trim.h"

namespace vomtel {
namespace {

TEST(IniFile, GetIntTakesTheLeadingDecimalNumberIn32Bits) {
  struct Case {
    const char* value;
    int expected;
  };
  const Case cases[] = {
      {"40000", 40000},       {"40000ms", 40000},     {"7 seconds", 7},
      {"0x10", 0},            {"+5", 5},              {"-4", -4},
      {"abc", -1},            {"", -1},               {"-", -1},
      {"2147483647", 2147483647},                     {"2147483648", -1},
      {"-2147483648", -2147483647 - 1},               {"-2147483649", -1},
      {"99999999999999999999999", -1},                {"000000000000000000012", 12},
  };
  test::TempDir dir;
  for (const Case& c : cases) {
    const CIniFile file(dir.WriteFile("t.ini", std::string("K=") + c.value + "\n"));
    EXPECT_EQ(file.GetInt("K"), c.expected) << "value '" << c.value << "'";
  }
  const CIniFile file(dir.WriteFile("t.ini", "K=1\n"));
  EXPECT_EQ(file.GetInt("MISSING"), -1);
  EXPECT_EQ(file.GetString("MISSING"), "");
}

TEST(IniFile, LineRules) {
  test::TempDir dir;
  const CIniFile file(dir.WriteFile("t.ini",
                                    "[general]\r\n"
                                    "#A=comment\r\n"
                                    "\r\n"
                                    " #A=not a comment\r\n"
                                    "\tB\t=\t two words \t\r\n"
                                    "=empty key\n"
                                    "B=second\n"
                                    "C=x=y\n"
                                    "D\n"
                                    "E=after the end\n"));
  struct Case {
    const char* key;
    const char* value;
  };
  const Case cases[] = {{"#A", "not a comment"}, {"A", ""},   {"B", "two words"},
                        {"", "empty key"},        {"C", "x=y"}, {"E", ""}};
  for (const Case& c : cases) EXPECT_EQ(file.GetString(c.key), c.value) << "key '" << c.key << "'";
}

TEST(IniFile, UnreadableFileIsEmpty) {
  test::TempDir dir;
  EXPECT_EQ(CIniFile(dir / "missing.ini").GetInt("LEVEL"), -1);
  EXPECT_EQ(CIniFile(dir.Path()).GetString("LEVEL"), "");  // a directory, not a file
}

TEST(Trim, RemovesSetCharactersAtTheEnds) {
  struct Case {
    const char* text;
    const char* left;
    const char* right;
    const char* both;
  };
  const Case cases[] = {
      {" \ta b\r\n", "a b\r\n", " \ta b", "a b"},
      {"ab", "ab", "ab", "ab"},
      {" \t\r\n", "", "", ""},
      {"", "", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TrimLeft(c.text), c.left) << c.text;
    EXPECT_EQ(TrimRight(c.text), c.right) << c.text;
    EXPECT_EQ(Trim(c.text), c.both) << c.text;
  }
  EXPECT_EQ(Trim("xxaxbxx", "x"), "axb");
}

}  // namespace
}  // namespace vomtel
