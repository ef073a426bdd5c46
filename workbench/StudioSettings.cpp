// The user's preferences in their INI file.
#include "workbench/StudioSettings.h"

#include <QSettings>
#include <QStandardPaths>

namespace {
const QString kWindowState = QStringLiteral("Window/State");
const QString kLineNumbers = QStringLiteral("View/LineNumbers");
const QString kRecentPacks = QStringLiteral("Recent/Packs");
const QString kLastFolder = QStringLiteral("Dialogs/LastFolder");
} // namespace

TStudioSettings::TStudioSettings()
    : settings_(std::make_unique<QSettings>(FilePath(), QSettings::IniFormat)) {
  // A damaged file would be half read and half kept; starting from the defaults and
  // writing a clean file is the predictable way out.
  if (settings_->status() == QSettings::FormatError)
    settings_->clear();
}

TStudioSettings::~TStudioSettings() = default;

QString TStudioSettings::FilePath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/Tarvex/kzpstudio.ini");
}

QByteArray TStudioSettings::WindowState() const {
  return settings_->value(kWindowState).toByteArray();
}
void TStudioSettings::SetWindowState(const QByteArray &state) {
  settings_->setValue(kWindowState, state);
}

bool TStudioSettings::LineNumbers() const {
  // Anything but a written "true" (a hand-edited value too) leaves them off, as by default.
  return settings_->value(kLineNumbers).toString() == QLatin1String("true");
}

void TStudioSettings::SetLineNumbers(bool on) { settings_->setValue(kLineNumbers, on); }

QStringList TStudioSettings::RecentPacks() const {
  QStringList packs;
  for (const QString &path : settings_->value(kRecentPacks).toStringList())
    if (!path.isEmpty() && !packs.contains(path) && packs.size() < MaxRecentPacks)
      packs.append(path);
  return packs;
}

void TStudioSettings::AddRecentPack(const QString &path) {
  QStringList packs = RecentPacks();
  packs.removeAll(path);
  packs.prepend(path);
  while (packs.size() > MaxRecentPacks)
    packs.removeLast();
  settings_->setValue(kRecentPacks, packs);
}

QString TStudioSettings::LastFolder() const { return settings_->value(kLastFolder).toString(); }
void TStudioSettings::SetLastFolder(const QString &folder) {
  settings_->setValue(kLastFolder, folder);
}

void TStudioSettings::Sync() { settings_->sync(); }
