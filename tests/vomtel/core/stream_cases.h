// Helpers of the codec tests: Streams made from byte lists, and tables of cases that each
// report what they saw as one text.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "vomtel/core/stream.h"

namespace vomtel::codec_test {

inline Stream FromBytes(std::vector<std::uint8_t> bytes) {
  return Stream(bytes.data(), bytes.size());
}

// "size=<bytes put> pos=<read position> ok|failed"
inline std::string State(const Stream& s) {
  return "size=" + std::to_string(s.Size()) + " pos=" + std::to_string(s.ReadPosition()) +
         (s.Failed() ? " failed" : " ok");
}

struct TextCase {
  const char* name;
  std::function<std::string()> run;
  const char* expected;
};

inline void ExpectCases(std::initializer_list<TextCase> cases) {
  for (const TextCase& c : cases) EXPECT_EQ(c.run(), c.expected) << c.name;
}

}  // namespace vomtel::codec_test
