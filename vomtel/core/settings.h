// The library's settings, read once from "vomtel.ini".
#pragma once

#include <string>

namespace vomtel {

inline constexpr const char* kSettingsFileName = "vomtel.ini";

// Keys of the file, defaults in the member initialisers. An integer that is missing, not a
// number or negative takes its default; an empty LOGPATH takes "."; SST above 255 is 255.
struct Settings {
  int ioContextSec = 0;         // IOCONTEXT_SEC: seconds of the socket thread's read wait
  int ioContextUsec = 10000;    // IOCONTEXT_USEC: microseconds of that wait
  int heartbeatPeriod = 40000;  // HEARTBEAT_PERIOD: silence limit in milliseconds
  int dial = 3;                 // DIAL: stored only
  int answer = 3;               // ANSWER: stored only
  int sst = 3;                  // SST: reply wait of the single-step transfer, seconds (0-255)
  int level = 2;                // LEVEL: log level threshold of the session loggers
  std::string encryption;       // ENCRYPTION: stored only
  std::string logPath = ".";    // LOGPATH: base directory of the log folder
  int jpUtf = 0;                // JPUTF: non-zero writes the logs in the UTF-8 form
  // EVENT_QUEUE_MAX: event frames kept per session until polled; past it the oldest go. 0
  // takes the default.
  int eventQueueMax = 100000;
};

// vomtel.ini from the current directory if it can be opened there, else
// SystemDirectory()/vomtel.ini; defaults when neither can be read.
Settings LoadSettings();

// The same search with the two directories given (tests; an empty directory means the
// current one).
Settings LoadSettings(const std::string& currentDirectory, const std::string& systemDirectory);

// The settings of the file at `path`; defaults when it cannot be read.
Settings ReadSettings(const std::string& path);

}  // namespace vomtel
