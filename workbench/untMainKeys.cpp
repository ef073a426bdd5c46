// The main window's keys: shortcuts of the document commands, "Gehe zu Zeile", menu
// mnemonics, F10 for the menu bar, and Return and Delete in the project tree. None of them
// takes a key the editor's keystroke table uses, so typing in a template never runs a command.
#include "workbench/untMain.h"

#include "platform/Dialogs.h"
#include "workbench/ErrorHandler.h"
#include "workbench/TemplateEditor.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QShortcut>
#include <QTreeWidget>

#include <functional>

namespace {
// The character a caption's "&" marks, or a null character when it has none ("&&" is a
// written ampersand).
QChar MnemonicOf(const QString &caption) {
  for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != QLatin1Char('&'))
      continue;
    if (caption[i + 1] != QLatin1Char('&'))
      return caption[i + 1].toLower();
    ++i;
  }
  return {};
}

bool MayBeMnemonic(QChar c) { return c.unicode() < 128 && c.isLetterOrNumber(); }

// Gives every caption among `actions` that has none a mnemonic no other of them has: the
// first free letter that starts a word, else the first free letter anywhere. Captions that
// carry one already keep theirs, so commands added with a chosen letter stay as they are.
void AssignMnemonics(const QList<QAction *> &actions) {
  QSet<QChar> taken;
  for (const QAction *a : actions)
    if (const QChar m = MnemonicOf(a->text()); !m.isNull())
      taken.insert(m);
  for (QAction *a : actions) {
    const QString text = a->text();
    if (a->isSeparator() || text.isEmpty() || !MnemonicOf(text).isNull())
      continue;
    qsizetype chosen = -1;
    for (int pass = 0; pass < 2 && chosen < 0; ++pass) {
      for (qsizetype i = 0; i < text.size(); ++i) {
        const bool wordStart =
            i == 0 || text[i - 1] == QLatin1Char(' ') || text[i - 1] == QLatin1Char('-');
        if ((pass == 1 || wordStart) && MayBeMnemonic(text[i]) &&
            !taken.contains(text[i].toLower())) {
          chosen = i;
          break;
        }
      }
    }
    if (chosen < 0)
      continue;
    taken.insert(text[chosen].toLower());
    // Any "&" already in the caption is a written one ("&&"), so it stays as it is.
    a->setText(QString(text).insert(chosen, QLatin1Char('&')));
  }
}

// Runs `handler` for key presses without modifiers (the keypad's Enter included); a press it
// takes goes no further.
class TKeyPressFilter : public QObject {
public:
  TKeyPressFilter(QObject *parent, std::function<bool(int key)> handler)
      : QObject(parent), handler_(std::move(handler)) {}

protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() == QEvent::KeyPress) {
      const auto *key = static_cast<QKeyEvent *>(event);
      if ((key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && handler_(key->key()))
        return true;
    }
    return QObject::eventFilter(watched, event);
  }

private:
  std::function<bool(int key)> handler_;
};
} // namespace

void TfrmMain::SetupKeys() {
  // Ctrl+N is the editor's insert-line and Ctrl+Shift+N its normal-select, so "Neu" has no
  // key of its own.
  actBarItem4->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  actItem8->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  actItem31->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  // The window's stored form takes F1 out of the editor's table for this.
  actItem41->setShortcut(QKeySequence(Qt::Key_F1));

  actGotoLine = new QAction(QStringLiteral("Gehe zu Zeile …"), this);
  actGotoLine->setObjectName(QStringLiteral("actGotoLine"));
  actGotoLine->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  connect(actGotoLine, &QAction::triggered, this,
          [this] { RunGuarded([this] { actGotoLineClick(); }); });
  if (QMenu *edit = menuBar()->findChild<QMenu *>(QStringLiteral("mnuBearbeiten"))) {
    edit->addSeparator();
    edit->addAction(actGotoLine);
  }

  // F10 takes the keyboard to the menu bar, as on other desktops.
  auto *menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
  connect(menuKey, &QShortcut::activated, this, [this] {
    if (!menuBar()->actions().isEmpty())
      menuBar()->setActiveAction(menuBar()->actions().constFirst());
  });

  // Return and Delete belong to the editor while it has the focus; on the tree they open
  // the template and delete the file under the cursor.
  twProjekt->installEventFilter(new TKeyPressFilter(twProjekt, [this](int key) {
    const QTreeWidgetItem *node = twProjekt->currentItem();
    if (!node || !node->isSelected())
      return false;
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && templateRoot_ &&
        node->parent() == templateRoot_) {
      RunGuarded([this] { twProjektDblClick(); });
      return true;
    }
    if (key == Qt::Key_Delete && fileRoot_ && node->parent() == fileRoot_) {
      RunGuarded([this] { actItem39Click(); });
      return true;
    }
    return false;
  }));
}

void TfrmMain::SetupMnemonics() {
  AssignMnemonics(menuBar()->actions());
  for (const QAction *title : menuBar()->actions())
    if (title->menu())
      AssignMnemonics(title->menu()->actions());
}

void TfrmMain::actGotoLineClick() {
  if (!editor->Enabled())
    return;
  const int lines = editor->LineCount();
  int line = editor->CaretY();
  if (!Dialogs().AskNumber(this, "Gehe zu Zeile",
                           "Zeile (1 bis " + std::to_string(lines) + "):", line, 1, lines))
    return;
  editor->GotoLine(line);
  editor->SetFocus();
}
