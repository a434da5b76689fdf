// The control module's trace log as a test reads it: the day files "*KWLog.log" in the folder
// the program points the log at (C:\softphone on the desk's mapped drive), one
// "[date time] <> text" line each. It tells when the event control has fired an event and its
// handlers have returned, which the program's own log does not say for every event.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace desk {

class ControlTrace {
 public:
  explicit ControlTrace(std::filesystem::path folder) : folder_(std::move(folder)) {}

  // The text of every line so far (after "<> "), in file order.
  std::vector<std::string> Lines() const;
  // Whether an event of `kind` has been fired and its handlers have returned.
  bool Handled(int kind) const;

 private:
  std::filesystem::path folder_;
};

}  // namespace desk
