// The Qt widget: key events turned into virtual keys and 8-bit characters, the system
// clipboard with both formats, and focus through the redirects.
#include "QtApp.h"
#include "editor/qt/KzEditWidget.h"
#include "platform/StoredForm.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtKeys.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <gtest/gtest.h>

namespace {

// The one application of the test program (QtApp.h), started on first use.
QApplication &App() {
  EnsureQtApp();
  return *qApp;
}

void Press(QWidget &w, int key, Qt::KeyboardModifiers mods, const QString &text) {
  QKeyEvent down(QEvent::KeyPress, key, mods, text);
  QCoreApplication::sendEvent(&w, &down);
  QKeyEvent up(QEvent::KeyRelease, key, mods, text);
  QCoreApplication::sendEvent(&w, &up);
}

} // namespace

TEST(QtKeysTest, QtKeysMapToTheVirtualKeyCodesOfTheKeystrokeTable) {
  EXPECT_EQ(kzp::VirtualKeyFromQt(Qt::Key_Up, {}), 38);
  EXPECT_EQ(kzp::VirtualKeyFromQt(Qt::Key_F1, {}), 112);
  EXPECT_EQ(kzp::VirtualKeyFromQt(Qt::Key_F12, {}), 123);
  EXPECT_EQ(kzp::VirtualKeyFromQt(Qt::Key_A, {}), 65);
  EXPECT_EQ(kzp::VirtualKeyFromQt(Qt::Key_5, {}), 53);
  EXPECT_EQ(kzp::VirtualKeyFromQt(Qt::Key_5, Qt::KeypadModifier), 101);
  EXPECT_EQ(kzp::VirtualKeyFromQt(Qt::Key_Backtab, Qt::ShiftModifier), 9);
  EXPECT_EQ(kzp::VirtualKeyFromQt(Qt::Key_Enter, Qt::KeypadModifier), 13);
  // Shift+1 arrives as "!"; the scan code (or, without one, the German layout) gives "1".
  EXPECT_EQ(kzp::VirtualKeyFromQt(Qt::Key_Exclam, Qt::ShiftModifier, 10), '1');
  EXPECT_EQ(kzp::VirtualKeyFromQt(Qt::Key_Exclam, Qt::ShiftModifier), '1');
  EXPECT_EQ(kzp::VirtualKeyFromQt(Qt::Key_Dollar, Qt::ShiftModifier), '4');
  EXPECT_EQ(kzp::VirtualKeyFromQt(Qt::Key_Adiaeresis, {}), 222);
  EXPECT_EQ(kzp::VirtualKeyFromQt(Qt::Key_At, {}), 0);
  EXPECT_EQ(kzp::ShiftBitsFromQt(Qt::ShiftModifier | Qt::ControlModifier), ssShift | ssCtrl);
  EXPECT_EQ(kzp::ShiftBitsFromQt(Qt::AltModifier), ssAlt);
}

TEST(EditWidgetTest, TypingGoesThroughTheCodePageAndCommandKeysTypeNothing) {
  App();
  TKzEdit w;
  Press(w, Qt::Key_A, {}, "a");
  Press(w, Qt::Key_unknown, {}, QString(QChar(0x20AC))); // the euro sign is 0x80
  Press(w, Qt::Key_unknown, {}, QString(QChar(0x4E2D))); // not in the code page: dropped
  EXPECT_EQ(w.Text(), "a\x80");
  Press(w, Qt::Key_Return, {}, "\r");
  Press(w, Qt::Key_B, {}, "b");
  EXPECT_EQ(w.Text(), "a\x80\r\nb");
  Press(w, Qt::Key_Left, {}, QString());
  Press(w, Qt::Key_At, Qt::GroupSwitchModifier, "@"); // AltGr+Q after a command key
  EXPECT_EQ(w.Text(), "a\x80\r\n@b");
  Press(w, Qt::Key_Z, Qt::ControlModifier, QString(QChar(0x1A)));
  EXPECT_EQ(w.Text(), "a\x80\r\nb");
}

TEST(EditWidgetTest, ReturnStaysWithTheWindowUnlessTheEditorWantsIt) {
  App();
  TKzEdit w;
  w.SetText("ab");
  for (bool wanted : {false, true}) {
    SCOPED_TRACE(wanted ? "wanted" : "not wanted");
    w.Editor().SetWantReturns(wanted);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QCoreApplication::sendEvent(&w, &down);
    EXPECT_EQ(down.isAccepted(), wanted);
    EXPECT_EQ(w.Text(), wanted ? "\r\nab" : "ab");
  }
}

TEST(EditWidgetTest, KeysOfTheKeystrokeTableOverrideMenuShortcuts) {
  App();
  TKzEdit w;
  QKeyEvent undo(QEvent::ShortcutOverride, Qt::Key_Z, Qt::ControlModifier);
  undo.ignore();
  QCoreApplication::sendEvent(&w, &undo);
  EXPECT_TRUE(undo.isAccepted());
  LoadStoredEditorSettings(
      w.Editor(),
      kzp::ParseStoredForm(
          R"({ "RemovedKeystrokes": [ { "Command": "ecContextHelp", "ShortCut": "F1" } ] })"));
  QKeyEvent help(QEvent::ShortcutOverride, Qt::Key_F1, Qt::NoModifier);
  help.ignore();
  QCoreApplication::sendEvent(&w, &help);
  EXPECT_FALSE(help.isAccepted()); // F1 stays with the window
}

TEST(EditWidgetTest, ClipboardCarriesTextAndTheBlockFormat) {
  App();
  TKzEdit w;
  w.SetText("one\r\ntwo\r\nthree");
  w.Editor().SetSelectionMode(smLine);
  w.Editor().SetCaretAndSelection({1, 2}, {1, 1}, {1, 2});
  w.CopyToClipboard();
  const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(mime, nullptr);
  EXPECT_EQ(mime->text(), QString("one\r\ntwo\r\n")); // whole lines up to the end's line
  QByteArray block =
      mime->data(QString::fromStdString(kzp::TQtClipboard::MimeTypeOf(KzEditClipboardFormatName)));
  EXPECT_EQ(block, QByteArray("\1one\r\ntwo\r\n\0", 12));
  w.Editor().SetSelectionMode(smNormal);
  w.Editor().SetCaretPos({3, 3});
  w.PasteFromClipboard();
  EXPECT_EQ(w.Text(), "one\r\ntwo\r\none\r\ntwo\r\nthree");
  // Text from another program: plain text only, characters outside the code page dropped.
  QGuiApplication::clipboard()->setText(QString::fromUtf8("\xc3\xa4\xe4\xb8\xad!"));
  w.SetText("");
  w.PasteFromClipboard();
  EXPECT_EQ(w.Text(), "\xe4!");
}

// fontconfig keeps a cache for the life of the process; under the leak checker that is no
// fault of ours.
extern "C" const char *__lsan_default_suppressions() { return "leak:libfontconfig\n"; }
