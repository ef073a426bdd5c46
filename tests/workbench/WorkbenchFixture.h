// Test support for the workbench: a program folder of our own, scripted dialog answers, a
// recording shell, packs built through the store, and the main window under test.
#pragma once

#include "pack/PackStore.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <ostream>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QTreeWidgetItem;
class QWidget;
class TfrmMain;

// Readable failure messages for Qt strings.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

// One message box as the program showed it.
struct TShownMessage {
  std::string Text, Caption;
  TMsgDlgType Type;
  TMsgDlgButtons Buttons;
  TDialogOwner Owner;
};

// Answers every box and picker from a script; a box nobody scripted fails the test and
// answers Cancel (or OK), so a forgotten question can never block a test.
class TScriptedDialogs : public TDialogs {
public:
  std::deque<TModalResult> Answers;
  std::deque<std::string> OpenAnswers, SaveAnswers, FolderAnswers;
  std::vector<TShownMessage> Shown;
  std::function<void()> OnShow; // runs while a box is up, after it was recorded
  std::vector<std::string> OpenTitles, OpenFilters, SaveTitles, SaveFilters, FolderCaptions;
  // The start folder each picker was shown with.
  std::vector<std::string> OpenStarts, SaveStarts, FolderStarts;

  TModalResult MessageDlg(TDialogOwner owner, const std::string &text, const std::string &caption,
                          TMsgDlgType type, TMsgDlgButtons buttons) override;
  std::string OpenFileName(TDialogOwner owner, const std::string &title,
                           const std::string &filter) override;
  std::string SaveFileName(TDialogOwner owner, const std::string &title,
                           const std::string &filter) override;
  std::string BrowseForFolder(const std::string &caption, const std::string &preset) override;
  // True when every scripted answer was used.
  bool AllUsed() const;
};

class TRecordingShell : public TShell {
public:
  std::vector<std::string> Opened;
  void OpenAddress(const std::string &address) override { Opened.push_back(address); }
};

// The one application object of the test program.
void EnsureApplication();

// A pack file with metadata, templates (name, text) and files (name, bytes).
void WriteTestPack(const std::string &path, const kzpMetaData &meta,
                   const std::vector<std::pair<std::string, std::string>> &templates,
                   const std::vector<std::pair<std::string, std::string>> &files = {});
void WriteFile(const std::filesystem::path &path, const std::string &bytes);
std::string ReadFile(const std::filesystem::path &path);
// The records of a pack file as a fresh store reads them.
std::vector<std::string> PackRecords(const std::string &path);
kzpMetaData PackMeta(const std::string &path);

// The captions of a tree node's children, in order.
std::vector<std::string> Children(const QTreeWidgetItem *root);
// The names of a pack file's file records, in record order.
std::vector<std::string> FileRecordNames(const std::string &pack);

// Runs `action` on the next modal window once it is open (polling the event loop), so a
// test can fill in and confirm a dialog that a command shows with exec().
void WhenModalOpens(std::function<void(QWidget &modal)> action);

// A program folder with list files, reference pages and a standard pack; a fresh store; the
// scripted dialogs and shell installed; and a main window made on demand.
class WorkbenchTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // Makes the main window with the given command-line arguments.
  TfrmMain &Start(const QStringList &arguments = {});
  // Makes the window and opens the pack at `pack` through the store.
  TfrmMain &StartWithPack(const std::string &pack);
  // Opens the template node `name` by selecting it and double clicking.
  void OpenTemplate(const std::string &name);
  // Types `text` into the editor as key presses.
  void Type(const QString &text);
  // Adds a file through the Add-file dialog, choosing `source` and naming it `target`
  // (a null target keeps the name the dialog proposes).
  void AddFile(const std::string &source, const QString &target);

  std::filesystem::path dir; // scratch folder of the test
  std::string programDir;    // dir/prog/ with trailing "/"
  std::string demoPack;      // dir/demo.kzp: templates main.css, index.htm, na; file logo.gif
  TScriptedDialogs dialogs;
  TRecordingShell shell;
  std::unique_ptr<TfrmMain> frm;
};
