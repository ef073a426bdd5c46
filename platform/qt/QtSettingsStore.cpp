// The settings store kept in an INI file through QSettings.
#include "platform/qt/QtSettingsStore.h"

#include <QSettings>

#include "platform/qt/QtCodePage.h"

namespace {

QString GroupOf(const std::string &path) {
  QString g = kzp::codepage::ToQString(path);
  g.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return g;
}

QString KeyOf(const std::string &path, const std::string &name) {
  const QString n = kzp::codepage::ToQString(name);
  return path.empty() ? n : GroupOf(path) + QLatin1Char('/') + n;
}

} // namespace

TQtSettingsStore::TQtSettingsStore(const std::string &iniPath)
    : FSettings(std::make_unique<QSettings>(QString::fromLocal8Bit(iniPath.c_str()),
                                            QSettings::IniFormat)) {}

TQtSettingsStore::~TQtSettingsStore() { FSettings->sync(); }

bool TQtSettingsStore::Flush() {
  FSettings->sync();
  return FSettings->status() == QSettings::NoError;
}

bool TQtSettingsStore::KeyExists(const std::string &path) const {
  if (path.empty() || FCreatedKeys.count(path) != 0)
    return true;
  FSettings->beginGroup(GroupOf(path));
  const bool exists = !FSettings->childKeys().isEmpty() || !FSettings->childGroups().isEmpty();
  FSettings->endGroup();
  return exists;
}

bool TQtSettingsStore::CreateKey(const std::string &path) {
  if (!FSettings->isWritable())
    return false;
  // Creating a key creates every key on its way, as a registry does.
  std::size_t i = 0;
  while ((i = path.find('\\', i)) != std::string::npos)
    FCreatedKeys.insert(path.substr(0, i++));
  FCreatedKeys.insert(path);
  return true;
}

std::optional<TSettingsValue> TQtSettingsStore::ReadValue(const std::string &path,
                                                          const std::string &name) const {
  const QString key = KeyOf(path, name);
  if (!FSettings->contains(key))
    return std::nullopt;
  TSettingsValue v;
  const QString text = FSettings->value(key).toString();
  v.Text = kzp::codepage::FromQString(text);
  bool ok = false;
  const qlonglong n = text.trimmed().toLongLong(&ok);
  if (ok && !text.trimmed().isEmpty()) {
    v.IsInteger = true;
    v.Integer = n;
  }
  return v;
}

bool TQtSettingsStore::WriteValue(const std::string &path, const std::string &name,
                                  const TSettingsValue &value) {
  if (!FSettings->isWritable())
    return false;
  const QString key = KeyOf(path, name);
  if (value.IsInteger)
    FSettings->setValue(key, static_cast<qlonglong>(value.Integer));
  else
    FSettings->setValue(key, kzp::codepage::ToQString(value.Text));
  return true;
}
