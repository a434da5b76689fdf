// LogValue: a value of a request log line as the request has it, turned into text only when
// the log writes the line. It refers to the caller's text, so it lives no longer than the
// request that logs it.
#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

namespace vomtel {

class RequestLog;

class LogValue {
 public:
  // A text, shown as it is.
  LogValue(std::string_view text) : text_(text) {}
  LogValue(const std::string& text) : text_(text) {}
  LogValue(const char* text) : text_(text) {}
  // A number, in decimal with the sign of its own type.
  template <std::integral Number>
  LogValue(Number number) : kind_(Kind::kNumber), number_(static_cast<std::int64_t>(number)) {}

  // A telephone number as the logs mask it (MaskNumber).
  static LogValue MaskedNumber(std::string_view number);
  // A secret: nothing of its bytes, not even its length ("********", empty when it is empty).
  static LogValue Secret(std::string_view secret);

  // Adds the line "\n" opening value "]" to `log`.
  void AddTo(RequestLog& log, std::string_view opening) const;

 private:
  enum class Kind : std::uint8_t { kText, kNumber, kMasked };
  LogValue(Kind kind, std::string_view text) : kind_(kind), text_(text) {}

  Kind kind_ = Kind::kText;
  std::string_view text_;
  std::int64_t number_ = 0;
};

// One line of a service request log: the opening as the log quotes it (such as
// "\t\tagentid\t\t[") and the value.
struct ServiceLogField {
  std::string_view opening;
  LogValue value;
};

}  // namespace vomtel
