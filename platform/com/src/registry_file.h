// The registry's text form: REGEDIT4-style sections of key paths and name=value lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vomcom::detail {

class RegistryFile {
 public:
  struct Value {
    std::string name;  // empty: the key's default value
    std::string data;  // a string's text, or the raw form of other types
    bool raw = false;  // data is written as it stands (dword:..., hex:...)
  };
  struct Key {
    std::string path;  // below HKEY_CLASSES_ROOT, as first written
    std::vector<Value> values;
  };

  // Reads the text; lines it does not understand are skipped.
  void Parse(std::string_view text);
  std::string Format() const;

  Key* Find(std::string_view path);
  // Creates the key (and the keys above it) when missing.
  Key& Ensure(std::string_view path);
  // Removes the key and every key below it; false when there was none.
  bool DeleteTree(std::string_view path);
  static void SetValue(Key& key, std::string_view name, std::string_view data);
  static const Value* FindValue(const Key& key, std::string_view name);
  const std::vector<Key>& Keys() const { return keys_; }

 private:
  std::vector<Key> keys_;
};

// "HKEY_CLASSES_ROOT\A\\B\" -> "A\B"; empty for an unusable path.
std::string NormalizeKey(std::string_view key);
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace vomcom::detail
