// The workbench test support.
#include "WorkbenchFixture.h"

#include "workbench/AppWindows.h"
#include "workbench/ErrorHandler.h"
#include "workbench/HtmlView.h"
#include "workbench/PreviewView.h"
#include "workbench/Resources.h"
#include "workbench/TemplateEditor.h"
#include "workbench/untAddFile.h"
#include "workbench/untMain.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

TModalResult TScriptedDialogs::MessageDlg(TDialogOwner owner, const std::string &text,
                                          const std::string &caption, TMsgDlgType type,
                                          TMsgDlgButtons buttons) {
  Shown.push_back({text, caption, type, buttons, owner});
  if (OnShow)
    OnShow();
  if (Answers.empty()) {
    ADD_FAILURE() << "unscripted message box: " << caption << ": " << text;
    return buttons == TMsgDlgButtons::mbOK ? TModalResult::mrOk : TModalResult::mrCancel;
  }
  const TModalResult answer = Answers.front();
  Answers.pop_front();
  return answer;
}

namespace {
std::string Pop(std::deque<std::string> &answers, const char *what) {
  if (answers.empty()) {
    ADD_FAILURE() << "unscripted " << what;
    return {};
  }
  std::string answer = answers.front();
  answers.pop_front();
  return answer;
}
} // namespace

std::string TScriptedDialogs::OpenFileName(TDialogOwner, const std::string &title,
                                           const std::string &filter) {
  OpenTitles.push_back(title);
  OpenStarts.push_back(StartFolder());
  OpenFilters.push_back(filter);
  return Pop(OpenAnswers, "file-open dialog");
}

std::string TScriptedDialogs::SaveFileName(TDialogOwner, const std::string &title,
                                           const std::string &filter) {
  SaveTitles.push_back(title);
  SaveStarts.push_back(StartFolder());
  SaveFilters.push_back(filter);
  return Pop(SaveAnswers, "file-save dialog");
}

std::string TScriptedDialogs::BrowseForFolder(const std::string &caption, const std::string &) {
  FolderCaptions.push_back(caption);
  FolderStarts.push_back(StartFolder());
  return Pop(FolderAnswers, "folder picker");
}

bool TScriptedDialogs::AllUsed() const {
  return Answers.empty() && OpenAnswers.empty() && SaveAnswers.empty() && FolderAnswers.empty();
}

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "test_workbench";
  static char *argv[] = {name, nullptr};
  static QApplication *app = nullptr;
  if (!app) {
    // The preview's address scheme is known only to browsers made after this call.
    PreparePreviewBeforeApplication();
    // Windows made outside a WorkbenchTest must not touch the real settings either.
    qputenv(
        "XDG_CONFIG_HOME",
        QByteArray::fromStdString(
            (fs::temp_directory_path() / ("kzwb-config-" + std::to_string(::getpid()))).string()));
    // The program's own application object, so its error handler is under test too.
    app = new TKzApplication(argc, argv);
    // Tests close main windows; that must not end the application object.
    QApplication::setQuitOnLastWindowClosed(false);
    InitWorkbenchResources();
  }
}

void WriteFile(const fs::path &path, const std::string &bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

std::string ReadFile(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteTestPack(const std::string &path, const kzpMetaData &meta,
                   const std::vector<std::pair<std::string, std::string>> &templates,
                   const std::vector<std::pair<std::string, std::string>> &files) {
  TPackStore store;
  store.PackPath = path;
  store.Records.push_back(BuildMetaRecord(meta));
  for (const auto &[name, text] : templates)
    store.Records.push_back(BuildTemplateRecord(name, text));
  store.WritePack();
  const fs::path scratch = fs::path(path).parent_path() / "pack-source.bin";
  for (const auto &[name, bytes] : files) {
    WriteFile(scratch, bytes);
    store.AddFileRecord(name, scratch.string());
  }
  fs::remove(scratch);
}

std::vector<std::string> PackRecords(const std::string &path) {
  TPackStore store;
  store.LoadPack(path);
  return store.Records;
}

kzpMetaData PackMeta(const std::string &path) {
  TPackStore store;
  return store.LoadPack(path).Meta;
}

std::vector<std::string> Children(const QTreeWidgetItem *root) {
  std::vector<std::string> out;
  for (int i = 0; i < root->childCount(); ++i)
    out.push_back(root->child(i)->text(0).toStdString());
  return out;
}

std::vector<std::string> FileRecordNames(const std::string &pack) {
  std::vector<std::string> out;
  for (const std::string &r : PackRecords(pack))
    if (IsFileRecord(r))
      out.push_back(RecordKey(r).substr(4));
  return out;
}

namespace {
// Pollers belong to the test that started them; a later test never sees them act.
int modalGeneration = 0;
int pendingModalActions = 0;
} // namespace

namespace {
void PollForModal(const std::function<void(QWidget &)> &action, int generation, int triesLeft) {
  if (generation != modalGeneration)
    return;
  if (QWidget *modal = QApplication::activeModalWidget()) {
    --pendingModalActions;
    action(*modal);
    return;
  }
  if (triesLeft == 0) {
    --pendingModalActions;
    ADD_FAILURE() << "no modal window opened";
    return;
  }
  QTimer::singleShot(
      5, [action, generation, triesLeft] { PollForModal(action, generation, triesLeft - 1); });
}
} // namespace

void WhenModalOpens(std::function<void(QWidget &modal)> action) {
  ++pendingModalActions;
  const int generation = modalGeneration;
  QTimer::singleShot(0, [action, generation] { PollForModal(action, generation, 400); });
}

void WorkbenchTest::SetUp() {
  EnsureApplication();
  dir =
      fs::temp_directory_path() / ("kzwb-" + std::to_string(::getpid()) + "-" +
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
  fs::remove_all(dir);
  fs::create_directories(dir / "prog" / "varLib");
  // The user's settings of every test go to a folder of its own, never to the real one.
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((dir / "config").string()));
  programDir = (dir / "prog").string() + "/";
  WriteFile(dir / "prog/varLib01.db", "%%LANG123%% Betreff\r\n%%USER%% Benutzer\r\n");
  WriteFile(dir / "prog/varLib02.db", "%%LANG123%%\r\n%%USER%%\r\n");
  WriteFile(
      dir / "prog/varLib/var_main.htm",
      "<html><body><h1>Variablen</h1><a href=\"kzp:%%USER%%\">user</a> "
      "<a href=\"main.htm\">main</a> <a href=\"http://www.example.com/\">web</a></body></html>");
  WriteFile(dir / "prog/varLib/lang.htm", "<html><body><h1>Sprache</h1></body></html>");
  WriteFile(dir / "prog/varLib/main.htm", "<html><body><h1>main.css</h1></body></html>");
  WriteFile(dir / "prog/varLib/index.htm", "<html><body><h1>index.htm</h1></body></html>");
  WriteTestPack(programDir + "stdtpl.db",
                {"Standard", "Tarvex", "info@tarvex.example", "www.tarvex.example", "std"},
                {{"index.htm", "<html>\r\n</html>"}, {"main.css", "body { }"}});
  demoPack = (dir / "demo.kzp").string();
  WriteTestPack(
      demoPack, {"Demo", "Anna", "anna@example.com", "www.example.com", "demo"},
      {{"main.css", "body {\r\n\tcolor: red;\r\n}"}, {"index.htm", "<p>Hallo</p>"}, {"na", "x"}},
      {{"logo.gif", std::string("GIF89a\0\1", 8)}});

  TPackStore &store = ThePackStore();
  store.Records.clear();
  store.PackPath = "na";
  store.CurrentTemplate = "na";
  store.Modified = false;
  SetDialogs(&dialogs);
  SetShell(&shell);
}

void WorkbenchTest::TearDown() {
  if (frm) {
    DestroyAppWindows();
    frm.reset();
  }
  EXPECT_TRUE(dialogs.AllUsed()) << "a scripted answer was never asked for";
  EXPECT_EQ(pendingModalActions, 0) << "a scripted dialog never opened";
  pendingModalActions = 0;
  ++modalGeneration;
  SetShell(nullptr);
  SetDialogs(nullptr);
  std::error_code ignored;
  fs::remove_all(dir, ignored);
}

TfrmMain &WorkbenchTest::Start(const QStringList &arguments) {
  frm = std::make_unique<TfrmMain>(programDir, arguments);
  CreateAppWindows(frm.get());
  frm->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(frm.get()));
  return *frm;
}

TfrmMain &WorkbenchTest::StartWithPack(const std::string &pack) {
  Start({QString::fromStdString(pack)});
  EXPECT_EQ(ThePackStore().PackPath, pack);
  return *frm;
}

void WorkbenchTest::OpenTemplate(const std::string &name) {
  QTreeWidgetItem *root = frm->TemplateRoot();
  ASSERT_NE(root, nullptr);
  for (int i = 0; i < root->childCount(); ++i) {
    if (root->child(i)->text(0).toStdString() == name) {
      frm->twProjekt->setCurrentItem(root->child(i));
      frm->twProjektDblClick();
      return;
    }
  }
  FAIL() << "no template node " << name;
}

void WorkbenchTest::AddFile(const std::string &source, const QString &target) {
  dialogs.OpenAnswers.push_back(source);
  WhenModalOpens([target](QWidget &modal) {
    auto &dlg = dynamic_cast<TfrmAddFile &>(modal);
    QTest::mouseClick(dlg.Button1, Qt::LeftButton);
    if (!target.isNull())
      dlg.edZiel->setText(target);
    QTest::mouseClick(dlg.Button2, Qt::LeftButton);
  });
  frm->actItem38Click();
}

void WorkbenchTest::Type(const QString &text) {
  frm->editor->SetFocus();
  QTest::keyClicks(frm->editor->Widget(), text);
}
