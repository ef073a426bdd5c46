// A hierarchical settings store with registry-style keys and named integer and text values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// One stored value. Stores that keep everything as text (INI files) report a value as an
// integer when its whole text reads as one.
struct TSettingsValue {
  bool IsInteger = false;
  std::int64_t Integer = 0;
  std::string Text;
};

// Keys are paths of names separated by "\". The store has one current key, as a registry
// session has: OpenKey with a path starting with "\" opens it from the root, any other path
// opens it below the current key. Values are read and written in the current key.
class TSettingsStore {
public:
  virtual ~TSettingsStore() = default;

  // Opens key (creating it when canCreate); false, and the current key unchanged, when the
  // key does not exist and may not be created.
  bool OpenKey(const std::string &key, bool canCreate) {
    const std::string path = Resolve(key);
    if (!KeyExists(path)) {
      if (!canCreate || !CreateKey(path))
        return false;
    }
    FCurrentPath = path;
    FOpen = true;
    return true;
  }
  bool OpenKeyReadOnly(const std::string &key) { return OpenKey(key, false); }
  void CloseKey() {
    FCurrentPath.clear();
    FOpen = false;
  }
  // The current key's path from the root, without a leading "\".
  const std::string &CurrentPath() const { return FCurrentPath; }

  bool ValueExists(const std::string &name) const {
    return ReadValue(FCurrentPath, name).has_value();
  }
  // False when the value is missing or does not read as an integer.
  bool ReadInteger(const std::string &name, std::int64_t &value) const {
    const auto v = ReadValue(FCurrentPath, name);
    if (!v || !v->IsInteger)
      return false;
    value = v->Integer;
    return true;
  }
  bool ReadString(const std::string &name, std::string &value) const {
    const auto v = ReadValue(FCurrentPath, name);
    if (!v)
      return false;
    value = v->Text;
    return true;
  }
  bool WriteInteger(const std::string &name, std::int64_t value) {
    TSettingsValue v;
    v.IsInteger = true;
    v.Integer = value;
    v.Text = std::to_string(value);
    return FOpen && WriteValue(FCurrentPath, name, v);
  }
  bool WriteString(const std::string &name, const std::string &value) {
    TSettingsValue v;
    v.Text = value;
    return FOpen && WriteValue(FCurrentPath, name, v);
  }

protected:
  // The storage itself, on absolute paths without a leading "\" ("" is the root).
  virtual bool KeyExists(const std::string &path) const = 0;
  virtual bool CreateKey(const std::string &path) = 0;
  virtual std::optional<TSettingsValue> ReadValue(const std::string &path,
                                                  const std::string &name) const = 0;
  virtual bool WriteValue(const std::string &path, const std::string &name,
                          const TSettingsValue &value) = 0;

private:
  std::string Resolve(const std::string &key) const {
    std::string path;
    std::size_t from = 0;
    if (!key.empty() && key[0] == '\\')
      from = 1;
    else if (FOpen)
      path = FCurrentPath;
    // Normalise: no empty names, so "a\\b\" and "a\b" are the same key.
    std::size_t i = from;
    while (i <= key.size()) {
      std::size_t j = key.find('\\', i);
      if (j == std::string::npos)
        j = key.size();
      if (j > i) {
        if (!path.empty())
          path += '\\';
        path.append(key, i, j - i);
      }
      i = j + 1;
    }
    return path;
  }

  std::string FCurrentPath;
  bool FOpen = false;
};
