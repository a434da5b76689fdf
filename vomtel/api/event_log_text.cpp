#include "vomtel/api/event_log_text.h"

#include <cstdio>

namespace vomtel {

std::string EventTimeText(const EventTime& time) {
  char text[100];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", time.year, time.month,
                time.day, time.hour, time.minute, time.second);
  return text;
}

EventLogText::EventLogText(std::string_view name, int gate, const EventRecord& record,
                           HeaderStyle style) {
  text_.append("vomtelGetEvent-").append(name).append(" : gate [").append(std::to_string(gate));
  text_.append(style == HeaderStyle::kPrivate ? "]time [" : "], time [");
  text_.append(EventTimeText(record.timeStamp)).append("]");
  text_.append(", event[").append(std::to_string(record.eventId));
  text_.append("], svrid[").append(std::to_string(record.svrid)).append("]");
  text_.append(", pbxtype[").append(std::to_string(record.pbxtype));
  text_.append("], callkind[").append(std::to_string(record.callkind)).append("]\n");
  last_close_ = text_.size();
}

EventLogText& EventLogText::Line(std::string_view label, std::string_view value,
                                 std::string_view close) {
  text_.append(label).append(value);
  last_close_ = text_.size();
  text_.append(close);
  return *this;
}

EventLogText& EventLogText::Line(std::string_view label, std::uint32_t value,
                                 std::string_view close) {
  return Line(label, std::to_string(value), close);
}

EventLogText& EventLogText::Line(std::string_view label, std::int32_t value,
                                 std::string_view close) {
  return Line(label, std::to_string(value), close);
}

std::string EventLogText::Finish() const { return text_.substr(0, last_close_) + "]"; }

std::string EventLogText::Open() const { return text_; }

}  // namespace vomtel
