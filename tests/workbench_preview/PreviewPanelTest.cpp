// The preview panel offscreen: the demo pack's header with its style sheet and logo, refused
// network requests, typing that updates the page and keeps its place, JavaScript off until
// switched on, clicks that go nowhere, and the other branch of each IF.
#include "WorkbenchFixture.h"

#include "workbench/PreviewDock.h"
#include "workbench/PreviewView.h"
#include "workbench/TemplateEditor.h"
#include "workbench/TemplateTools.h"
#include "workbench/untMain.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <cstdio>

namespace {

class PreviewPanelTest : public WorkbenchTest {
protected:
  void SetUp() override {
    WorkbenchTest::SetUp();
    std::filesystem::copy_file(KZ_BIN_DIR "/varLib03.db", programDir + "varLib03.db");
  }

  TPreviewDock &Panel() { return *frm->templateTools->Preview; }

  // Shows the panel and waits for its page; false when none came.
  bool ShowPanel() {
    loads = 0;
    // The size the studio has on a usual screen: the bottom panels take their rows, and
    // the page keeps room enough to show its head and navigation.
    frm->resize(1280, 900);
    frm->resizeDocks({&Panel()}, {560}, Qt::Horizontal);
    Panel().toggleViewAction()->trigger();
    if (!Panel().View())
      return false;
    // A refused navigation reports a failed load; only pages shown count.
    Panel().View()->OnLoaded = [this](bool ok) {
      if (ok)
        ++loads;
    };
    return WaitForLoads(1);
  }

  bool WaitForLoads(int count, int ms = 20000) {
    QElapsedTimer clock;
    clock.start();
    while (loads < count && clock.elapsed() < ms)
      QTest::qWait(10);
    return loads >= count;
  }

  // The value of a script run in the program's own world of the page.
  QVariant Eval(const QString &script) {
    QVariant result;
    bool done = false;
    Panel().View()->WebView()->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                                     [&](const QVariant &v) {
                                                       result = v;
                                                       done = true;
                                                     });
    QElapsedTimer clock;
    clock.start();
    while (!done && clock.elapsed() < 10000)
      QTest::qWait(5);
    return result;
  }

  QImage Shot() {
    // A frame or two for the compositor after the load.
    QTest::qWait(300);
    return Panel().View()->WebView()->grab().toImage();
  }

  std::string PagePack(const std::string &page,
                       const std::vector<std::pair<std::string, std::string>> &more = {}) {
    const std::string path = (dir / "p.kzp").string();
    std::vector<std::pair<std::string, std::string>> templates{{"page.htm", page}};
    templates.insert(templates.end(), more.begin(), more.end());
    WriteTestPack(path, {"T", "A", "m", "w", "o"}, templates);
    return path;
  }

  int loads = 0;
};

} // namespace

TEST_F(PreviewPanelTest, DemoHeaderWithItsStyleSheetAndLogo) {
  const std::string demo = (dir / "demo-pack.kzp").string();
  std::filesystem::copy_file(KZ_BIN_DIR "/demo.kzp", demo);
  StartWithPack(demo);
  EXPECT_FALSE(Panel().isVisible());
  EXPECT_EQ(Panel().View(), nullptr) << "no browser before the panel is shown";
  OpenTemplate("header.htm");
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(ShowPanel());
  std::printf("[ preview  ] header.htm shown %lld ms after the panel was opened\n",
              static_cast<long long>(clock.elapsed()));
  EXPECT_EQ(Eval(QStringLiteral("document.title")).toString(),
            QStringLiteral("Tarvex Mail - Posteingang"));
  // The logo came from the pack: 150 by 40 pixels.
  EXPECT_EQ(Eval(QStringLiteral("document.querySelector('#kopf img').naturalWidth")).toInt(), 150);
  // Where the style sheet puts them: the head bar's dark green, and the left border of the
  // first navigation entry.
  const QVariantList bar =
      Eval(QStringLiteral(
               "(function(){var r=document.getElementById('kopf').getBoundingClientRect();"
               "return [r.right, r.top, r.height];})()"))
          .toList();
  const QVariantList nav =
      Eval(QStringLiteral(
               "(function(){var r=document.querySelector('#navi li a').getBoundingClientRect();"
               "return [r.left, r.top, r.height];})()"))
          .toList();
  ASSERT_EQ(bar.size(), 3);
  ASSERT_EQ(nav.size(), 3);
  const QImage shot = Shot();
  const qreal ratio = shot.devicePixelRatio();
  const QPoint inBar(static_cast<int>((bar[0].toDouble() - 100) * ratio),
                     static_cast<int>((bar[1].toDouble() + 4) * ratio));
  const QPoint inBorder(static_cast<int>((nav[0].toDouble() + 2) * ratio),
                        static_cast<int>((nav[1].toDouble() + nav[2].toDouble() / 2) * ratio));
  EXPECT_EQ(QColor(shot.pixel(inBar)).name().toStdString(), "#0f4c4a");
  EXPECT_EQ(QColor(shot.pixel(inBorder)).name().toStdString(), "#8cc7b8");
  EXPECT_TRUE(Panel().View()->Refused().isEmpty())
      << Panel().View()->Refused().join(' ').toStdString();
}

TEST_F(PreviewPanelTest, EveryRequestOutsideThePackIsRefused) {
  StartWithPack(PagePack(
      "<html><head><link rel=\"stylesheet\" href=\"https://example.com/x.css\"></head><body>"
      "<img id=\"web\" src=\"http://example.com/a.png\"><img id=\"own\" "
      "src=\"%%tpl_url%%img/no.png\">"
      "<iframe src=\"http://example.org/\"></iframe></body></html>"));
  OpenTemplate("page.htm");
  ASSERT_TRUE(ShowPanel());
  QTest::qWait(300);
  const QStringList refused = Panel().View()->Refused();
  EXPECT_TRUE(refused.contains(QStringLiteral("https://example.com/x.css")))
      << refused.join(' ').toStdString();
  EXPECT_TRUE(refused.contains(QStringLiteral("http://example.com/a.png")))
      << refused.join(' ').toStdString();
  EXPECT_EQ(Eval(QStringLiteral("document.getElementById('web').naturalWidth")).toInt(), 0);
  EXPECT_EQ(Eval(QStringLiteral("document.getElementById('own').naturalWidth")).toInt(), 0);
}

TEST_F(PreviewPanelTest, TypingUpdatesThePageAndKeepsItsPlace) {
  std::string long_page = "<html><body><p id=\"t\">%%app_name%%</p>";
  for (int i = 0; i < 300; ++i)
    long_page += "<p>Zeile " + std::to_string(i) + "</p>";
  long_page += "</body></html>";
  TfrmMain &w = StartWithPack(PagePack(long_page));
  OpenTemplate("page.htm");
  ASSERT_TRUE(ShowPanel());
  EXPECT_EQ(Eval(QStringLiteral("document.getElementById('t').textContent")).toString(),
            QStringLiteral("Tarvex Mail"));
  Eval(QStringLiteral("window.scrollTo(0, 700)"));
  EXPECT_EQ(Eval(QStringLiteral("window.scrollY")).toInt(), 700);
  // Typing: the page follows once typing pauses, not with every key.
  w.editor->SetCaret(23, 1);
  Type("Neu ");
  EXPECT_EQ(loads, 1);
  ASSERT_TRUE(WaitForLoads(2));
  QTest::qWait(100);
  EXPECT_EQ(loads, 2) << "one page for the whole word";
  EXPECT_EQ(Eval(QStringLiteral("document.getElementById('t').textContent")).toString(),
            QStringLiteral("Neu Tarvex Mail"));
  EXPECT_EQ(Eval(QStringLiteral("window.scrollY")).toInt(), 700);
  // The editor's text is shown, the pack still holds the saved one.
  EXPECT_EQ(PackRecords((dir / "p.kzp").string())[1].find("Neu"), std::string::npos);
}

TEST_F(PreviewPanelTest, JavaScriptOffUntilSwitchedOnAndClicksStay) {
  StartWithPack(PagePack("<html><head><title>vorher</title></head><body>"
                         "<a id=\"a\" href=\"%%tpl_url%%other.htm\">weiter</a><a id=\"b\" "
                         "href=\"http://example.com/\">web</a>"
                         "<script>document.title = 'nachher';</script></body></html>",
                         {{"other.htm", "<p>anders</p>"}}));
  OpenTemplate("page.htm");
  ASSERT_TRUE(ShowPanel());
  EXPECT_EQ(Eval(QStringLiteral("document.title")).toString(), QStringLiteral("vorher"));
  const QUrl shown = Panel().View()->WebView()->url();
  EXPECT_EQ(shown.path(), QStringLiteral("/page.htm"));
  // A click on a link of the pack or the web leaves the page where it is.
  Eval(QStringLiteral("document.getElementById('a').click()"));
  Eval(QStringLiteral("document.getElementById('b').click()"));
  QTest::qWait(500);
  EXPECT_EQ(Panel().View()->WebView()->url(), shown);
  EXPECT_EQ(loads, 1);
  Panel().JavaScriptAction()->trigger();
  ASSERT_TRUE(WaitForLoads(2));
  EXPECT_EQ(Eval(QStringLiteral("document.title")).toString(), QStringLiteral("nachher"));
}

TEST_F(PreviewPanelTest, OtherBranchesAndStyleSheetsShownOnTheirPage) {
  TfrmMain &w = StartWithPack(
      PagePack("<html><head><link rel=\"stylesheet\" href=\"%%tpl_url%%s.css\"></head><body>"
               "<p id=\"p\">%%IF:user_name%%erster%%ELSE%%zweiter%%ENDIF%%</p></body></html>",
               {{"s.css", "#p { color: #ff0000; }"}}));
  OpenTemplate("page.htm");
  ASSERT_TRUE(ShowPanel());
  EXPECT_EQ(Eval(QStringLiteral("document.getElementById('p').textContent")).toString(),
            QStringLiteral("erster"));
  Panel().OtherBranchAction()->trigger();
  ASSERT_TRUE(WaitForLoads(2));
  EXPECT_EQ(Eval(QStringLiteral("document.getElementById('p').textContent")).toString(),
            QStringLiteral("zweiter"));
  // The style sheet open in the editor is shown on the page seen last, as it is typed.
  OpenTemplate("s.css");
  ASSERT_TRUE(WaitForLoads(3));
  EXPECT_EQ(Panel().View()->WebView()->url().path(), QStringLiteral("/page.htm"));
  EXPECT_EQ(Eval(QStringLiteral("getComputedStyle(document.getElementById('p')).color")).toString(),
            QStringLiteral("rgb(255, 0, 0)"));
  w.editor->SetSelection(13, 1, 20, 1);
  w.editor->SetSelectedText("#0000ff");
  ASSERT_TRUE(WaitForLoads(4));
  EXPECT_EQ(Eval(QStringLiteral("getComputedStyle(document.getElementById('p')).color")).toString(),
            QStringLiteral("rgb(0, 0, 255)"));
}
