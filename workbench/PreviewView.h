// The web view the preview renders in, fenced in: it reads only what the pack serves through
// the preview's own address scheme, refuses every other request, never follows a click, and
// runs no JavaScript unless asked to.
#pragma once

#include <QPoint>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QWebEnginePage>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlSchemeHandler>
#include <QWidget>

#include <functional>
#include <string>

class QWebEngineProfile;
class QWebEngineView;

// The scheme must be known before the application object exists; main() and the tests call
// this first. It also lets the view run as root, where the browser refuses its sandbox.
void PreparePreviewBeforeApplication();

// The URL under which the preview shows template `name` (the program's 8-bit text) in its
// `generation`th page load; the empty name gives the scheme's start page. Each load has a
// host of its own, so nothing the browser keeps from an earlier load is ever shown again,
// while addresses starting with "/" still lead to the pack's top.
QUrl PreviewUrlOf(const std::string &name, int generation);

// What the preview scheme serves, for one pack name: found, its MIME type and its bytes.
struct TPreviewReply {
  bool Found = false;
  std::string MimeType, Bytes;
};

class TPreviewView : public QWidget {
  Q_OBJECT
public:
  explicit TPreviewView(QWidget *parent = nullptr);
  ~TPreviewView() override;

  // Asked for every address of the scheme with the pack name it stands for (empty for
  // the start page). Runs on the user-interface thread.
  std::function<TPreviewReply(const std::string &name)> Serve;

  // Shows template `name`, freshly asked for. Showing the page shown already keeps its
  // scroll position.
  void Show(const std::string &name);
  // The pack name of the page shown, and whether one was.
  const std::string &Shown() const { return shown_; }
  // Takes effect with the next page shown.
  void SetJavaScript(bool on);
  bool JavaScript() const;

  // Called after every page the view finished loading (ok false when it failed).
  std::function<void(bool ok)> OnLoaded;

  QWebEngineView *WebView() const { return view_; }
  // The addresses the guard refused lately (the last 100), for a look in tests.
  const QStringList &Refused() const { return refused_; }

private:
  class TPage;
  class TScheme;
  class TGuard;
  void Loaded(bool ok);

  QWebEngineProfile *profile_;
  QWebEngineView *view_;
  TPage *page_;
  TScheme *scheme_;
  TGuard *guard_;
  QStringList refused_;
  std::string shown_;
  bool haveShown_ = false;
  int generation_ = 0;
  QPointF keepScroll_;
  bool restoreScroll_ = false;
};
