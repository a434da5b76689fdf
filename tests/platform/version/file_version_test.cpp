#include "platform/version/file_version.h"

#include <gtest/gtest.h>

#include <regex>

namespace vomtel {
namespace {

// The build hands its four-part version to the library; "unknown version" means it did not.
TEST(FileVersion, IsTheBuildsFourPartVersion) {
  EXPECT_TRUE(std::regex_match(FileVersionText(), std::regex(R"(\d+\.\d+\.\d+\.\d+)")))
      << FileVersionText();
}

}  // namespace
}  // namespace vomtel
