// The texts that requests write into the log of their session: the request log (label, gate,
// request number, one line per field) and the three forms of the outcome line. These texts,
// and the labels and openings the requests pass in, are a fixed format kept byte for byte,
// misspellings included (see logger.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vomtel {

// A request log text. The head is `label` (which ends "gate["), the gate in signed decimal,
// "] Inv[", the request number and "]"; every Field adds "\n", the opening (such as
// "\t\tcalledDN\t\t["), the value and "]". The last line has no line feed after it.
class RequestLog {
 public:
  RequestLog(std::string_view label, int gate, std::uint16_t number);

  RequestLog& Field(std::string_view opening, std::string_view value);
  RequestLog& Field(std::string_view opening, std::int64_t value);
  // Raw text behind what is there (for the few logs that end the head with "]\n").
  RequestLog& Append(std::string_view text);

  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// First form: " " name " [result][invoke] : [" first "][" second "]\n".
std::string OutcomeLine(std::string_view name, std::int64_t first, std::int64_t second);
// Second form: a literal label that ends " [result][invoke] : [", then first "][" second "]\n".
std::string LabelOutcomeLine(std::string_view label, std::int64_t first, std::int64_t second);
// Third form: "<" qualified name ">result-invoke[" first "][" second "]\n".
std::string QualifiedOutcomeLine(std::string_view qualifiedName, std::int64_t first,
                                 std::int64_t second);

}  // namespace vomtel
