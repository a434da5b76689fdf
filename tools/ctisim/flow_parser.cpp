#include "tools/ctisim/flow_parser.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "tools/ctisim/flow_names.h"

namespace ctisim {
namespace {

// Thrown inside the parser only, caught by ParseFlow: one line's failure with its message.
struct LineFailure {
  std::string message;
};

[[noreturn]] void Fail(std::string message) { throw LineFailure{std::move(message)}; }

// A line cut into words at blanks and tabs; a double quote opens a part that runs to the next
// double quote (blanks and '#' inside it are kept, the quotes are dropped); '#' outside quotes
// starts a comment.
std::vector<std::string> Words(std::string_view line) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t') {
      ++i;
      continue;
    }
    if (c == '#') break;
    std::string word;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
      if (line[i] == '"') {
        const std::size_t close = line.find('"', i + 1);
        if (close == std::string_view::npos) Fail("a quoted text is not closed");
        word.append(line.substr(i + 1, close - i - 1));
        i = close + 1;
      } else if (line[i] == '#') {
        break;
      } else {
        word.push_back(line[i++]);
      }
    }
    words.push_back(std::move(word));
    if (i < line.size() && line[i] == '#') break;
  }
  return words;
}

unsigned long long Number(std::string_view text, unsigned long long max, std::string_view what) {
  const std::string s(text);
  const auto sign = [](char c) { return c == '-' || c == '+' || c == ' '; };
  if (s.empty() || sign(s[0]) || (s.size() > 2 && sign(s[2]))) {
    Fail(std::string(what) + ": not a number: \"" + s + "\"");
  }
  // Decimal, or hexadecimal after 0x; a leading 0 is no octal mark (wait 0500 is 500 ms).
  const bool hex = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
  char* end = nullptr;
  errno = 0;
  const unsigned long long value = std::strtoull(s.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
  if (errno != 0 || end != s.c_str() + s.size()) {
    Fail(std::string(what) + ": not a number: \"" + s + "\"");
  }
  if (value > max) Fail(std::string(what) + ": " + s + " is above " + std::to_string(max));
  return value;
}

Millis Milliseconds(std::string_view text, std::string_view what) {
  return Millis{static_cast<long long>(
      Number(text, static_cast<unsigned long long>(kMaxFlowMillis), what))};
}

std::string Text(std::string_view text, std::size_t max, std::string_view what) {
  if (text.size() > max) {
    Fail(std::string(what) + ": " + std::to_string(text.size()) + " bytes, at most " +
         std::to_string(max));
  }
  return std::string(text);
}

Bytes Hex(std::string_view text) {
  if (text.size() % 2 != 0) Fail("hex: an odd number of digits");
  if (text.size() / 2 > kMaxEventBytes) {
    Fail("hex: more than " + std::to_string(kMaxEventBytes) + " bytes");
  }
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  Bytes out;
  out.reserve(text.size() / 2);
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const int hi = digit(text[i]);
    const int lo = digit(text[i + 1]);
    if (hi < 0 || lo < 0) Fail("hex: not a hex digit in \"" + std::string(text) + "\"");
    out.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
  }
  return out;
}

std::uint8_t AgentMode(std::string_view text) {
  if (auto mode = FindAgentMode(text)) return *mode;
  return static_cast<std::uint8_t>(Number(text, 255, "mode"));
}

// A request kind: a name of the table or CLASS:CODE in C notation.
RequestMatch Request(std::string_view text) {
  RequestMatch match;
  if (auto named = FindRequestName(text)) {
    match.cls = named->cls;
    match.code = named->code;
    return match;
  }
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) {
    Fail("unknown request \"" + std::string(text) + "\" (a name or CLASS:CODE)");
  }
  match.cls = static_cast<std::uint8_t>(Number(text.substr(0, colon), 0xFF, "request class"));
  match.code = static_cast<std::uint8_t>(Number(text.substr(colon + 1), 0xFF, "request code"));
  return match;
}

std::pair<std::string_view, std::string_view> KeyValue(const std::string& word) {
  const std::size_t equals = word.find('=');
  if (equals == std::string::npos || equals == 0) {
    Fail("expected KEY=VALUE, found \"" + word + "\"");
  }
  const std::string_view w(word);
  return {w.substr(0, equals), w.substr(equals + 1)};
}

// The words from `first` on: an event name or code, then its KEY=VALUE fields.
FlowEvent Event(const std::vector<std::string>& words, std::size_t first, bool triggered,
                int line) {
  if (first >= words.size()) Fail("an event is missing");
  FlowEvent event;
  event.line = line;
  if (auto named = FindEventName(words[first])) {
    event.kind = named->kind;
    event.code = named->code;
  } else if (!words[first].empty() && words[first][0] >= '0' && words[first][0] <= '9') {
    event.kind = FlowEventKind::kRaw;
    event.code = static_cast<std::uint8_t>(Number(words[first], 255, "event code"));
  } else {
    Fail("unknown event \"" + words[first] + "\"");
  }
  const bool call = event.kind == FlowEventKind::kCall;
  const bool agent = event.kind == FlowEventKind::kAgentState;
  const bool bytes = event.kind == FlowEventKind::kPrivate || event.kind == FlowEventKind::kRaw;
  std::vector<std::string_view> seen;
  for (std::size_t i = first + 1; i < words.size(); ++i) {
    const auto [key, value] = KeyValue(words[i]);
    for (std::string_view s : seen) {
      if (s == key) Fail("\"" + std::string(key) + "\" given twice");
    }
    seen.push_back(key);
    // A structured binding is not captured by every compiler: the lambda gets a copy.
    const std::string_view name = key;
    auto only = [&](bool allowed) {
      if (!allowed) {
        Fail("\"" + std::string(name) + "\" does not belong to event \"" + words[first] + "\"");
      }
    };
    if (key == "device") {
      only(call || agent);
      event.device = Text(value, kMaxStr8Text, key);
    } else if (key == "party") {
      only(call);
      event.party = Text(value, kMaxStr8Text, key);
    } else if (key == "call") {
      only(call);
      event.call = static_cast<std::uint32_t>(Number(value, 0xFFFFFFFFull, key));
    } else if (key == "cnid") {
      only(call);
      event.cnid = static_cast<std::uint32_t>(Number(value, 0xFFFFFFFFull, key));
    } else if (key == "queue") {
      only(call);
      event.queue = static_cast<std::uint32_t>(Number(value, 0xFFFFFFFFull, key));
    } else if (key == "cause") {
      only(call);
      event.cause = static_cast<std::uint32_t>(Number(value, 0xFFFFFFFFull, key));
    } else if (key == "uei") {
      only(call);
      event.uei = Text(value, kMaxDataText, key);
    } else if (key == "ci") {
      only(call);
      event.ci = Text(value, kMaxDataText, key);
    } else if (key == "agent") {
      only(agent);
      event.agent = Text(value, kMaxStr8Text, key);
    } else if (key == "group") {
      only(agent);
      event.group = Text(value, kMaxStr8Text, key);
    } else if (key == "work") {
      only(agent);
      event.work = static_cast<std::uint8_t>(Number(value, 0xFF, key));
    } else if (key == "reason") {
      only(agent);
      event.reason = static_cast<std::uint8_t>(Number(value, 0xFF, key));
    } else if (key == "sub") {
      only(event.kind == FlowEventKind::kPrivate);
      event.sub = static_cast<std::uint32_t>(Number(value, 0xFFFFFFFFull, key));
    } else if (key == "hex") {
      only(bytes);
      event.bytes = Hex(value);
    } else if (key == "after") {
      if (!triggered) Fail("\"after\" belongs to \"on\" only; use \"wait\" between steps");
      event.after = Milliseconds(value, key);
    } else {
      Fail("unknown field \"" + std::string(key) + "\"");
    }
  }
  return event;
}

// `mode=MODE` after a request kind, for the agent-state request only.
std::size_t ModeFilter(const std::vector<std::string>& words, std::size_t at, RequestMatch* match) {
  if (at >= words.size() || words[at].rfind("mode=", 0) != 0) return at;
  if (match->cls != kClassCall || match->code != 0xDD) {
    Fail("\"mode\" filters agent-state requests only");
  }
  match->mode = AgentMode(std::string_view(words[at]).substr(5));
  return at + 1;
}

void Expect(const std::vector<std::string>& words, std::size_t count, std::string_view form) {
  if (words.size() != count) Fail("expected \"" + std::string(form) + "\"");
}

class Parser {
 public:
  Flow Take() { return std::move(flow_); }

  void Line(int number, const std::vector<std::string>& w) {
    const std::string& verb = w[0];
    if (verb == "device") {
      Expect(w, 2, "device DN");
      TopLevel(verb);
      if (flow_.device) Fail("\"device\" given twice");
      flow_.device = Text(w[1], kMaxStr8Text, "device");
    } else if (verb == "on") {
      TopLevel(verb);
      if (w.size() < 2) Fail("expected \"on REQUEST [mode=MODE] push EVENT [KEY=VALUE]...\"");
      FlowTrigger trigger;
      trigger.line = number;
      trigger.match = Request(w[1]);
      const std::size_t at = ModeFilter(w, 2, &trigger.match);
      if (at >= w.size() || w[at] != "push") Fail("expected \"push\" after the request");
      trigger.event = Event(w, at + 1, true, number);
      flow_.triggers.push_back(std::move(trigger));
    } else if (verb == "wait") {
      Expect(w, 2, "wait MILLISECONDS");
      FlowStep step = Step(FlowStep::Kind::kWait, number);
      step.wait = Milliseconds(w[1], "wait");
      Add(std::move(step));
    } else if (verb == "push") {
      FlowStep step = Step(FlowStep::Kind::kPush, number);
      step.event = Event(w, 1, false, number);
      Add(std::move(step));
    } else if (verb == "await") {
      if (w.size() < 2) Fail("expected \"await REQUEST [mode=MODE]\"");
      FlowStep step = Step(FlowStep::Kind::kAwait, number);
      step.match = Request(w[1]);
      if (ModeFilter(w, 2, &step.match) != w.size()) Fail("unexpected words after the request");
      Add(std::move(step));
    } else if (verb == "drop") {
      if (w.size() > 2 || (w.size() == 2 && w[1] != "reset")) Fail("expected \"drop [reset]\"");
      FlowStep step = Step(FlowStep::Kind::kDrop, number);
      step.abortive = w.size() == 2;
      Add(std::move(step));
    } else if (verb == "repeat") {
      if (w.size() > 2) Fail("expected \"repeat [COUNT]\"");
      if (open_.size() >= kMaxRepeatDepth) {
        Fail("more than " + std::to_string(kMaxRepeatDepth) + " nested repeats");
      }
      FlowStep step = Step(FlowStep::Kind::kRepeat, number);
      if (w.size() == 2) {
        step.count = Number(w[1], kMaxRepeatCount, "repeat");
        if (step.count == 0) Fail("repeat: a count of 0 (leave it out to repeat for ever)");
      }
      open_.push_back(std::move(step));
    } else if (verb == "end") {
      Expect(w, 1, "end");
      if (open_.empty()) Fail("\"end\" without \"repeat\"");
      FlowStep done = std::move(open_.back());
      open_.pop_back();
      if (done.count == 0 && !Paced(done.body)) {
        Fail("the repeat of line " + std::to_string(done.line) +
             " runs for ever: it needs a \"wait\" or an \"await\" inside");
      }
      Add(std::move(done));
    } else {
      Fail("unknown statement \"" + verb + "\"");
    }
  }

  // The line of a repeat that was never closed, or 0.
  int Unclosed() const { return open_.empty() ? 0 : open_.back().line; }

 private:
  // True when the steps hold a pause (a wait of more than 0 ms, or an await).
  static bool Paced(const std::vector<FlowStep>& steps) {
    for (const FlowStep& s : steps) {
      if (s.kind == FlowStep::Kind::kAwait) return true;
      if (s.kind == FlowStep::Kind::kWait && s.wait.count() > 0) return true;
      if (s.kind == FlowStep::Kind::kRepeat && Paced(s.body)) return true;
    }
    return false;
  }
  static FlowStep Step(FlowStep::Kind kind, int line) {
    FlowStep step;
    step.kind = kind;
    step.line = line;
    return step;
  }
  void TopLevel(const std::string& verb) const {
    if (!open_.empty()) Fail("\"" + verb + "\" cannot stand inside \"repeat\"");
  }
  void Add(FlowStep step) {
    (open_.empty() ? flow_.steps : open_.back().body).push_back(std::move(step));
  }

  Flow flow_;
  std::vector<FlowStep> open_;  // the repeats not yet closed, innermost last
};

}  // namespace

std::optional<Flow> ParseFlow(std::string_view text, FlowError* error) {
  Parser parser;
  int number = 0;
  std::size_t start = 0;
  try {
    if (text.size() > kMaxFlowFileBytes) {
      Fail("the flow is larger than " + std::to_string(kMaxFlowFileBytes) + " bytes");
    }
    while (start < text.size()) {
      ++number;
      std::size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      std::string_view line = text.substr(start, end - start);
      start = end + 1;
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (line.size() > kMaxFlowLineBytes) {
        Fail("the line is longer than " + std::to_string(kMaxFlowLineBytes) + " bytes");
      }
      if (line.find('\0') != std::string_view::npos) Fail("a NUL byte");
      const std::vector<std::string> words = Words(line);
      if (!words.empty()) parser.Line(number, words);
    }
    if (const int open = parser.Unclosed(); open != 0) {
      number = open;
      Fail("\"repeat\" without \"end\"");
    }
  } catch (const LineFailure& failure) {
    if (error) *error = FlowError{number, failure.message};
    return std::nullopt;
  }
  return parser.Take();
}

std::optional<Flow> LoadFlowFile(const std::string& path, FlowError* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (error) *error = FlowError{0, "cannot open " + path};
    return std::nullopt;
  }
  std::string text;
  char chunk[65536];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    text.append(chunk, static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxFlowFileBytes) {
      if (error) {
        *error = FlowError{0, path + " is larger than " + std::to_string(kMaxFlowFileBytes) +
                                  " bytes"};
      }
      return std::nullopt;
    }
  }
  if (in.bad()) {
    if (error) *error = FlowError{0, "cannot read " + path};
    return std::nullopt;
  }
  return ParseFlow(text, error);
}

}  // namespace ctisim
