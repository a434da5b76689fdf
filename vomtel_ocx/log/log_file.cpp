#include "vomtel_ocx/log/log_file.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "vomcom/automation.h"
#include "vomtel_ocx/log/trace_log.h"
#include "vomtel_ocx/log/trace_log_hooks.h"

namespace {

std::FILE* g_stream = nullptr;

// Writes text as a text-mode stream does: every LF as CR LF, whatever comes before it.
void WriteAsText(std::FILE* stream, const char* text) {
  for (const char* lf = std::strchr(text, '\n'); lf != nullptr; lf = std::strchr(text, '\n')) {
    std::fwrite(text, 1, static_cast<std::size_t>(lf - text), stream);
    std::fputs("\r\n", stream);
    text = lf + 1;
  }
  std::fputs(text, stream);
}

}  // namespace

int LogFileOpen() {
  const char* directory = TraceLogDirectory();
  if (directory == nullptr) return 1;

  const TraceLogTime t = TraceLogNow();
  char date[16];
  std::snprintf(date, sizeof date, "%04d%02d%02d", t.year, t.month, t.day);
  // The path in Windows form; one that does not fit is skipped, never cut.
  char windowsPath[kTracePathMax + 1];
  const int length =
      std::snprintf(windowsPath, sizeof windowsPath, "%s\\%s%s", directory, date, "KWLog.log");
  if (length < 0 || length > kTracePathMax) return 0;

  char path[PATH_MAX];
  if (VcMapWindowsPath(windowsPath, path, sizeof path) == 0) return 0;
  // Binary append, every LF written as CR LF: the bytes a text-mode stream writes.
  g_stream = std::fopen(path, "ab");
  return g_stream != nullptr ? 1 : 0;
}

int LogFileWrite(std::FILE* stream, const char* tag, const char* text) {
  if (stream == nullptr) return 0;
  const TraceLogTime t = TraceLogNow();
  char stamp[257];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d:%03d", t.year, t.month, t.day,
                t.hour, t.minute, t.second, t.millisecond);
  std::fprintf(stream, "[%s] <", stamp);
  WriteAsText(stream, tag != nullptr ? tag : "");
  std::fputs(">", stream);
  if (text != nullptr) {
    std::fputs(" ", stream);
    WriteAsText(stream, text);
  }
  std::fputs("\r\n", stream);
  std::fflush(stream);
  return 1;
}

void LogFileClose() {
  if (g_stream == nullptr) return;
  std::fclose(g_stream);
  g_stream = nullptr;
}

void LogFileAppend(const char* tag, const char* text) {
  LogFileOpen();
  LogFileWrite(g_stream, tag, text);
  LogFileClose();
}
