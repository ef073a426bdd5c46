// The preview's fenced-in web view: its address scheme, its request guard and its page.
#include "workbench/PreviewView.h"

#include "platform/qt/QtCodePage.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QVBoxLayout>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineView>

#include <unistd.h>

namespace {
const QByteArray kScheme = QByteArrayLiteral("kzpack");
} // namespace

void PreparePreviewBeforeApplication() {
  QWebEngineUrlScheme scheme(kScheme);
  // Host syntax, so that an address starting with "/" leads to the pack's top.
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
  scheme.setDefaultPort(QWebEngineUrlScheme::PortUnspecified);
  // Not a local scheme: the browser would then drop requests to the web before the
  // guard below sees them, and the guard is the one place that decides and records.
  scheme.setFlags(QWebEngineUrlScheme::SecureScheme);
  QWebEngineUrlScheme::registerScheme(scheme);
  // The browser's helper processes share the widgets' graphics contexts.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

QUrl PreviewUrlOf(const std::string &name, int generation) {
  QUrl url;
  url.setScheme(QString::fromLatin1(kScheme));
  url.setHost(QStringLiteral("p%1").arg(generation));
  url.setPath(QLatin1Char('/') + kzp::codepage::ToQString(name), QUrl::DecodedMode);
  return url;
}

// Serves the pack: every request of the scheme goes to Serve with its pack name.
class TPreviewView::TScheme : public QWebEngineUrlSchemeHandler {
public:
  TScheme(TPreviewView &owner) : QWebEngineUrlSchemeHandler(&owner), owner_(owner) {}

  void requestStarted(QWebEngineUrlRequestJob *job) override {
    const QUrl url = job->requestUrl();
    if (job->requestMethod() != "GET" || !owner_.Serve) {
      job->fail(QWebEngineUrlRequestJob::RequestDenied);
      return;
    }
    const QString path = url.path(QUrl::FullyDecoded).mid(1);
    const TPreviewReply reply = owner_.Serve(kzp::codepage::FromQString(path));
    if (!reply.Found) {
      job->fail(QWebEngineUrlRequestJob::UrlNotFound);
      return;
    }
    auto *buffer = new QBuffer(job);
    buffer->setData(QByteArray::fromStdString(reply.Bytes));
    buffer->open(QIODevice::ReadOnly);
    job->reply(QByteArray::fromStdString(reply.MimeType), buffer);
  }

private:
  TPreviewView &owner_;
};

// Nothing leaves the machine: a page may name anything, but only the pack is asked.
class TPreviewView::TGuard : public QWebEngineUrlRequestInterceptor {
public:
  TGuard(TPreviewView &owner) : QWebEngineUrlRequestInterceptor(&owner), owner_(owner) {}

  void interceptRequest(QWebEngineUrlRequestInfo &info) override {
    const QUrl url = info.requestUrl();
    if (url.scheme() == QLatin1String(kScheme) || url.scheme() == QLatin1String("data"))
      return;
    info.block(true);
    // The last ones are enough to tell what a page asks for; a page refreshed with
    // every pause in typing must not make the list grow without end.
    if (owner_.refused_.size() >= 100)
      owner_.refused_.removeFirst();
    owner_.refused_.append(url.toString());
  }

private:
  TPreviewView &owner_;
};

// A click, a form or a script moving the page elsewhere is refused, and no window opens:
// the preview shows the template and stays there.
class TPreviewView::TPage : public QWebEnginePage {
public:
  TPage(QWebEngineProfile *profile, QObject *parent) : QWebEnginePage(profile, parent) {}

protected:
  bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override {
    if (url.scheme() != QLatin1String(kScheme))
      return false;
    // The view's own loads come as typed addresses and reloads; a frame of the page
    // may load its own page of the pack, but not follow a click either.
    if (isMainFrame)
      return type == NavigationTypeTyped || type == NavigationTypeReload;
    return type != NavigationTypeLinkClicked && type != NavigationTypeFormSubmitted;
  }
  QWebEnginePage *createWindow(WebWindowType) override { return nullptr; }
};

TPreviewView::TPreviewView(QWidget *parent)
    : QWidget(parent), profile_(new QWebEngineProfile(this)), view_(new QWebEngineView(this)) {
  // A profile of its own without a storage name keeps nothing on disk.
  scheme_ = new TScheme(*this);
  guard_ = new TGuard(*this);
  profile_->installUrlSchemeHandler(kScheme, scheme_);
  profile_->setUrlRequestInterceptor(guard_);
  profile_->setHttpCacheType(QWebEngineProfile::NoCache);
  page_ = new TPage(profile_, view_);
  view_->setPage(page_);
  QWebEngineSettings *settings = page_->settings();
  settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
  settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
  settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
  settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
  settings->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
  settings->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
  settings->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
  view_->setContextMenuPolicy(Qt::NoContextMenu);
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);
  connect(page_, &QWebEnginePage::loadFinished, this, &TPreviewView::Loaded);
}

TPreviewView::~TPreviewView() {
  // The page must go before the profile it was made with.
  delete view_;
  view_ = nullptr;
}

void TPreviewView::Show(const std::string &name) {
  const bool same = haveShown_ && name == shown_;
  keepScroll_ = same ? page_->scrollPosition() : QPointF();
  restoreScroll_ = same && !keepScroll_.isNull();
  shown_ = name;
  haveShown_ = true;
  page_->load(PreviewUrlOf(name, ++generation_));
}

void TPreviewView::SetJavaScript(bool on) {
  page_->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, on);
}

bool TPreviewView::JavaScript() const {
  return page_->settings()->testAttribute(QWebEngineSettings::JavascriptEnabled);
}

void TPreviewView::Loaded(bool ok) {
  // A refused navigation reports a failed load of its own; only the page asked for has
  // a place to go back to.
  if (ok && restoreScroll_) {
    restoreScroll_ = false;
    // Scripts of the program's own world run even with the page's JavaScript off.
    page_->runJavaScript(
        QStringLiteral("window.scrollTo(%1, %2);").arg(keepScroll_.x()).arg(keepScroll_.y()),
        QWebEngineScript::ApplicationWorld);
  }
  if (OnLoaded)
    OnLoaded(ok);
}
