// The settings store kept in an INI file through QSettings.
#pragma once

#include <memory>
#include <set>
#include <string>

#include "platform/SettingsStore.h"

class QSettings;

// Keys become INI groups ("a\b" is the group "a/b"); every value is kept as text. A key only
// shows in the file once it holds a value, so keys created but left empty are remembered for
// the lifetime of the store.
class TQtSettingsStore : public TSettingsStore {
public:
  explicit TQtSettingsStore(const std::string &iniPath);
  ~TQtSettingsStore() override;
  TQtSettingsStore(const TQtSettingsStore &) = delete;
  TQtSettingsStore &operator=(const TQtSettingsStore &) = delete;

  // Writes pending changes to the file; false when the file cannot be written.
  bool Flush();

protected:
  bool KeyExists(const std::string &path) const override;
  bool CreateKey(const std::string &path) override;
  std::optional<TSettingsValue> ReadValue(const std::string &path,
                                          const std::string &name) const override;
  bool WriteValue(const std::string &path, const std::string &name,
                  const TSettingsValue &value) override;

private:
  std::unique_ptr<QSettings> FSettings;
  std::set<std::string> FCreatedKeys;
};
