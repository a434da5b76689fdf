#include "vomtel/requests/call/request_log.h"

namespace vomtel {

namespace {

std::string TwoNumbers(std::string text, std::int64_t first, std::int64_t second) {
  text += std::to_string(first);
  text += "][";
  text += std::to_string(second);
  text += "]\n";
  return text;
}

}  // namespace

RequestLog::RequestLog(std::string_view label, int gate, std::uint16_t number) {
  text_.reserve(256);
  text_ += label;
  text_ += std::to_string(gate);
  text_ += "] Inv[";
  text_ += std::to_string(number);
  text_ += ']';
}

RequestLog& RequestLog::Field(std::string_view opening, std::string_view value) {
  text_ += '\n';
  text_ += opening;
  text_ += value;
  text_ += ']';
  return *this;
}

RequestLog& RequestLog::Field(std::string_view opening, std::int64_t value) {
  return Field(opening, std::to_string(value));
}

RequestLog& RequestLog::Append(std::string_view text) {
  text_ += text;
  return *this;
}

std::string OutcomeLine(std::string_view name, std::int64_t first, std::int64_t second) {
  std::string text = " ";
  text += name;
  text += " [result][invoke] : [";
  return TwoNumbers(std::move(text), first, second);
}

std::string LabelOutcomeLine(std::string_view label, std::int64_t first, std::int64_t second) {
  return TwoNumbers(std::string(label), first, second);
}

std::string QualifiedOutcomeLine(std::string_view qualifiedName, std::int64_t first,
                                 std::int64_t second) {
  std::string text = "<";
  text += qualifiedName;
  text += ">result-invoke[";
  return TwoNumbers(std::move(text), first, second);
}

}  // namespace vomtel
