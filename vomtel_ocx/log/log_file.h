// The day's trace file: opened, written and closed for every line, so nothing stays open.
#pragma once

#include <cstdio>

// Opens the day's file of the log directory for appending. Returns 1 when it is open or when
// no directory is set (nothing is done then), 0 when it cannot be opened (a missing folder, no
// right to write, a path longer than kTracePathMax characters).
int LogFileOpen();
// Writes "[stamp] <tag> text" with CR LF and flushes; "[stamp] <tag>" when text is null. An LF
// in the tag or the text is written as CR LF too, as a text-mode stream writes it.
// Returns 0 and writes nothing without a stream.
int LogFileWrite(std::FILE* stream, const char* tag, const char* text);
// Closes the open file, if any, and forgets it.
void LogFileClose();
// LogFileOpen, LogFileWrite on the open file, LogFileClose.
void LogFileAppend(const char* tag, const char* text);
