#include "vomtel_ocx/log/trace_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "platform/time/local_time.h"
#include "vomtel_ocx/log/log_file.h"
#include "vomtel_ocx/log/trace_log_hooks.h"

namespace {

struct TraceLogState {
  int enabled = 0;
  bool hasDirectory = false;
  std::string directory;
  std::function<TraceLogTime()> clock;
  std::function<void(const char*)> sink;
};

TraceLogState& State() {
  static TraceLogState state;
  return state;
}

TraceLogTime WallClock() {
  const vomtel::LocalTime now = vomtel::LocalTimeNow();
  return TraceLogTime{now.year, now.month, now.day, now.hour, now.minute, now.second,
                      now.millisecond};
}

bool DebuggerOutputWanted() {
  const char* value = std::getenv("VOMTEL_DEBUGGER_OUTPUT");
  return value != nullptr && value[0] != '\0' && std::strcmp(value, "0") != 0;
}

void DebuggerOutput(const char* text) {
  TraceLogState& state = State();
  if (state.sink) {
    state.sink(text);
    return;
  }
  static const bool wanted = DebuggerOutputWanted();
  if (wanted) std::fputs(text, stderr);
}

}  // namespace

void SetTraceLogEnabled(int enabled) { State().enabled = enabled; }

int TraceLogEnabled() { return State().enabled; }

void SetTraceLogDirectory(const char* directory) {
  TraceLogState& state = State();
  state.hasDirectory = directory != nullptr;
  state.directory = directory != nullptr ? directory : "";
}

const char* TraceLogDirectory() {
  const TraceLogState& state = State();
  return state.hasDirectory ? state.directory.c_str() : nullptr;
}

void SetTraceLogClock(std::function<TraceLogTime()> clock) { State().clock = std::move(clock); }

void SetTraceLogSink(std::function<void(const char*)> sink) { State().sink = std::move(sink); }

TraceLogTime TraceLogNow() {
  const TraceLogState& state = State();
  return state.clock ? state.clock() : WallClock();
}

int TraceLog(const char* fmt, ...) {
  if (State().enabled == 0) return 1;
  if (fmt == nullptr) return 0;

  // A longer message is cut to the buffer rather than dropped.
  char message[kTraceMessageMax + 1];
  va_list args;
  va_start(args, fmt);
  const int length = std::vsnprintf(message, sizeof message, fmt, args);
  va_end(args);
  if (length < 0) return 0;

  const TraceLogTime t = TraceLogNow();
  char stamp[257];
  std::snprintf(stamp, sizeof stamp, "[%04d-%02d-%02d %02d:%02d:%02d:%02d]", t.year, t.month,
                t.day, t.hour, t.minute, t.second, t.millisecond);
  DebuggerOutput(stamp);
  DebuggerOutput(message);
  DebuggerOutput("\n");

  if (TraceLogDirectory() != nullptr) LogFileAppend("", message);
  return 1;
}
