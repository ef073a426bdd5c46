// The user's preferences kept between runs: the panel layout, the line numbers, the packs
// opened last and the folder the file dialogs start in. They live in an INI file under the
// user's configuration folder; a file that is missing, damaged or unreadable gives defaults.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class QSettings;

class TStudioSettings {
public:
  // Reads the user's settings file (FilePath()).
  TStudioSettings();
  ~TStudioSettings();
  TStudioSettings(const TStudioSettings &) = delete;
  TStudioSettings &operator=(const TStudioSettings &) = delete;

  // "$XDG_CONFIG_HOME/Tarvex/kzpstudio.ini" (the config folder defaults to ~/.config).
  static QString FilePath();

  // The docks and tool bars as QMainWindow::saveState gave them; empty when never saved.
  QByteArray WindowState() const;
  void SetWindowState(const QByteArray &state);

  bool LineNumbers() const; // false when never set
  void SetLineNumbers(bool on);

  // Full paths, the latest first, at most MaxRecentPacks.
  static constexpr int MaxRecentPacks = 8;
  QStringList RecentPacks() const;
  // Puts `path` first, dropping an older entry of it and any beyond the eighth.
  void AddRecentPack(const QString &path);

  // The folder of the last file chosen in a dialog, empty when none.
  QString LastFolder() const;
  void SetLastFolder(const QString &folder);

  // Writes what changed to the file now (it is written at destruction anyway).
  void Sync();

private:
  std::unique_ptr<QSettings> settings_;
};
