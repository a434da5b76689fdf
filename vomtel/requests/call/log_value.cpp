#include "vomtel/requests/call/log_value.h"

#include "vomtel/core/mask_number.h"
#include "vomtel/requests/call/request_log.h"

namespace vomtel {

LogValue LogValue::MaskedNumber(std::string_view number) { return {Kind::kMasked, number}; }

LogValue LogValue::Secret(std::string_view secret) {
  return {Kind::kText, secret.empty() ? std::string_view() : std::string_view("********")};
}

void LogValue::AddTo(RequestLog& log, std::string_view opening) const {
  switch (kind_) {
    case Kind::kNumber:
      log.Field(opening, number_);
      return;
    case Kind::kMasked:
      log.Field(opening, MaskNumber(text_));
      return;
    case Kind::kText:
      log.Field(opening, text_);
      return;
  }
}

}  // namespace vomtel
