// Replaceable parts of the trace log: the local clock and the debugger output.
// For tests and hosts that want the debugger lines; the module itself uses the defaults.
#pragma once

#include <functional>

struct TraceLogTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// The clock read for every time stamp and for the file's date. An empty function restores
// the local wall clock.
void SetTraceLogClock(std::function<TraceLogTime()> clock);

// Receives the debugger output: three calls per line (the stamp, the message, "\n"). An empty
// function restores the default, which writes to standard error only when the environment
// variable VOMTEL_DEBUGGER_OUTPUT is set to a value other than "" and "0", and else drops it.
void SetTraceLogSink(std::function<void(const char*)> sink);

// The current clock's time (used by the log file as well).
TraceLogTime TraceLogNow();
