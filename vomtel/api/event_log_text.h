// The texts that the event decoder writes to the session log, one text per event.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "vomtel/api/event_record.h"

namespace vomtel {

// The texts one decode hands to the log, in order.
using EventLogTexts = std::vector<std::string>;

// "%04d/%02d/%02d %02d:%02d:%02d" of the time stamp (no milliseconds).
std::string EventTimeText(const EventTime& time);

// Which separator the header puts before the time: "], time [" or, for private events,
// "]time [".
enum class HeaderStyle { kComma, kPrivate };

// Builds one event's log text: the header, then labelled lines. Every line but the last ends
// with its closing text ("]\n" unless given); Finish closes the last one with "]" alone.
class EventLogText {
 public:
  EventLogText(std::string_view name, int gate, const EventRecord& record, HeaderStyle style);

  EventLogText& Line(std::string_view label, std::string_view value,
                     std::string_view close = "]\n");
  EventLogText& Line(std::string_view label, std::uint32_t value, std::string_view close = "]\n");
  EventLogText& Line(std::string_view label, std::int32_t value, std::string_view close = "]\n");

  // The text with the last line closed by "]".
  std::string Finish() const;
  // The text with every line closed as given (a log that ends with a full line).
  std::string Open() const;

 private:
  std::string text_;
  std::size_t last_close_ = 0;  // where the last line's closing text begins
};

}  // namespace vomtel
