// One row of a request table: the method called through IDispatch with the arguments a host
// passes, the export it must reach, what that export must have been handed, the result handed
// back and the trace lines written.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "control_fixture.h"

namespace vomtelx::test {

struct RequestCase {
  const char* name;
  DISPID id;
  std::vector<Variant> args;
  const char* exportName;  // null: no export may be called
  std::function<void(const fake::Call&)> check;
  std::int32_t result = 1;
  std::vector<std::string> log = {};
  std::function<void(MainControlTest&)> setup = nullptr;
};

// The log lines as expected; an expected line ending in "[*]" takes any text in its brackets.
inline void ExpectLines(const std::vector<std::string>& actual,
                        const std::vector<std::string>& expected) {
  ASSERT_EQ(actual.size(), expected.size()) << ::testing::PrintToString(actual);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const std::string& want = expected[i];
    if (want.size() >= 3 && want.compare(want.size() - 3, 3, "[*]") == 0) {
      const std::string prefix = want.substr(0, want.size() - 2);
      EXPECT_EQ(actual[i].substr(0, prefix.size()), prefix);
      EXPECT_EQ(actual[i].back(), ']');
    } else {
      EXPECT_EQ(actual[i], want);
    }
  }
}

// Runs each row on a fresh fake: the export called once, its arguments checked, the result and
// the log lines compared.
inline void RunRequestTable(MainControlTest& t, const std::vector<RequestCase>& cases,
                            std::vector<std::string>& lines) {
  for (const RequestCase& c : cases) {
    SCOPED_TRACE(c.name);
    fake::Exports::Get().Reset();
    if (c.setup) c.setup(t);
    lines.clear();
    Variant result;
    Variant* out = &result;
    ASSERT_EQ(t.CallFor(c.id, c.args, out), S_OK);
    EXPECT_EQ(result.ToI4(-999999), c.result);
    const auto& calls = fake::Exports::Get().Calls();
    if (c.exportName == nullptr) {
      EXPECT_TRUE(calls.empty()) << "called " << (calls.empty() ? "" : calls[0].name);
    } else {
      ASSERT_EQ(calls.size(), 1u);
      EXPECT_EQ(calls[0].name, c.exportName);
      if (c.check) c.check(calls[0]);
    }
    ExpectLines(lines, c.log);
  }
}

// The device text of a recorded ConnectionId, and whether the bytes after it are zero.
inline std::string DeviceOf(const fake::Call& call, std::size_t i) {
  const ConnectionId id = call.Record<ConnectionId>(i);
  return std::string(id.Device, strnlen(id.Device, sizeof id.Device));
}

inline bool AllZero(const std::string& bytes, std::size_t from = 0) {
  for (std::size_t i = from; i < bytes.size(); ++i) {
    if (bytes[i] != '\0') return false;
  }
  return true;
}

template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

inline std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

}  // namespace vomtelx::test
