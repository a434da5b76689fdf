#include "vomtel/core/mask_number.h"

#include <gtest/gtest.h>

#include <string>

namespace vomtel {
namespace {

TEST(MaskNumber, HidesTheLastFourCharactersOfSevenOrMore) {
  using namespace std::string_literals;
  const std::string forty(40, '5');
  struct Case {
    std::string number;
    std::string expected;
  };
  const Case cases[] = {
      {"0212345678", "021234****"},
      {"1234567", "123****"},
      {"123456", "123456"},
      {"", ""},
      {forty, std::string(36, '5') + "****"},
      {"0212345678"s + '\0' + "999", "021234****"},  // taken up to the first NUL
      {"123"s + '\0' + "456789", "123"},
  };
  for (const Case& c : cases) EXPECT_EQ(MaskNumber(c.number), c.expected) << c.number;
}

}  // namespace
}  // namespace vomtel
