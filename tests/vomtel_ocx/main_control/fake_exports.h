// A recording fake of the library's exports, linked in place of libvomtel: every call is
// recorded with its arguments (numbers, texts, and the bytes of each record it is handed) and
// answers as scripted per export name (result 1 unless scripted; outputs and list entries
// written as scripted; an exception thrown when asked).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace fake {

struct Arg {
  enum class Kind { Int, Text, Bytes, Null, Pointer } kind = Kind::Null;
  std::int64_t number = 0;
  std::string bytes;  // a text (without its NUL) or a record's bytes
  const void* pointer = nullptr;
};

struct Call {
  std::string name;
  std::vector<Arg> args;

  std::int64_t Int(std::size_t i) const;
  std::string Text(std::size_t i) const;
  bool IsNull(std::size_t i) const;
  const void* Pointer(std::size_t i) const;
  const std::string& Bytes(std::size_t i) const;
  template <class T>
  T Record(std::size_t i) const {
    T value{};
    const std::string& b = Bytes(i);
    std::memcpy(&value, b.data(), b.size() < sizeof value ? b.size() : sizeof value);
    return value;
  }
};

struct Script {
  int result = 1;
  // List exports: the entries the library answers (raw bytes of entryCount entries).
  std::string entries;
  std::size_t entryCount = 0;
  // The count written, when it is to differ from the entries written.
  std::optional<std::uint32_t> reportedCount;
  // Number outputs in the export's order, and text outputs.
  std::vector<std::int32_t> outs;
  std::vector<std::string> texts;
  // Thrown (std::runtime_error) after the call is recorded.
  std::optional<std::string> throwMessage;
};

template <class Entry>
Script ListAnswer(const std::vector<Entry>& entries, int result = 1) {
  Script s;
  s.result = result;
  s.entries.assign(reinterpret_cast<const char*>(entries.data()), entries.size() * sizeof(Entry));
  s.entryCount = entries.size();
  return s;
}

class Exports {
 public:
  static Exports& Get();
  void Reset();
  void SetScript(const std::string& name, Script script);
  const std::vector<Call>& Calls() const { return calls_; }
  // The calls of one export.
  std::vector<Call> CallsOf(const std::string& name) const;

  // Used by the fake exports.
  Call& Record(const char* name);
  const Script& ScriptOf(const std::string& name) const;

 private:
  std::vector<Call> calls_;
  std::map<std::string, Script> scripts_;
};

}  // namespace fake
