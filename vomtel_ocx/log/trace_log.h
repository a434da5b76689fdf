// The control module's trace log: one process-wide, printf-style line writer.
//
// Each line goes to the debugger output and, while a log directory is set, is appended to the
// day's file "<dir>\YYYYMMDDKWLog.log" (the directory in Windows form, mapped to a folder by the
// component runtime). The log is off until it is enabled. All callers run on the host's one
// apartment thread; nothing here takes a lock.
#pragma once

// Writes one line when the log is enabled. Returns 1 when the line was handled or the log is off,
// 0 when the message could not be formatted (the line is dropped). A message longer than
// kTraceMessageMax characters is cut to that length.
int TraceLog(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// The enable flag: any non-zero value turns the log on, 0 turns it off. Off at load.
void SetTraceLogEnabled(int enabled);
int TraceLogEnabled();

// The log directory in Windows form ("C:\softphone"); null forgets it (no file is written,
// the debugger output still is). The text is copied. The directory is never created.
void SetTraceLogDirectory(const char* directory);
// The directory set, or null when there is none. Valid until the next SetTraceLogDirectory.
const char* TraceLogDirectory();

// Longest message kept (a 10,240-byte buffer with its NUL).
inline constexpr int kTraceMessageMax = 10239;
// Longest file path in Windows form; a longer one skips the file part of the line.
inline constexpr int kTracePathMax = 259;
