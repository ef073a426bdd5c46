// The guarded HTML view. Links are not followed by QTextBrowser itself: every click, history
// step and program call ends in Navigate's question to the owner first.
#include "workbench/HtmlView.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTextCursor>
#include <QUrl>

namespace {
// A scheme of two letters or more; a single letter would be a drive on other systems.
bool HasScheme(const QString &href, QString *scheme) {
  static const QRegularExpression re(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]+):"));
  const auto m = re.match(href);
  if (!m.hasMatch())
    return false;
  *scheme = m.captured(1).toLower();
  return true;
}
} // namespace

THtmlView::THtmlView(QWidget *parent) : QTextBrowser(parent) {
  setOpenLinks(false);
  setOpenExternalLinks(false);
  connect(this, &QTextBrowser::anchorClicked, this, &THtmlView::FollowLink);
}

QString THtmlView::AddressOfLink(const QString &href) const {
  QString scheme;
  if (HasScheme(href, &scheme)) {
    if (scheme == QLatin1String("file"))
      return QUrl(href).toLocalFile();
    return href; // "kzp:" text must reach the owner exactly as written
  }
  QString path = href;
  const int hash = path.indexOf(QLatin1Char('#'));
  if (hash >= 0)
    path.truncate(hash);
  path = QUrl::fromPercentEncoding(path.toUtf8());
  if (path.isEmpty())
    return currentPath_;
  if (QDir::isAbsolutePath(path))
    return QDir::cleanPath(path);
  const QString base =
      currentPath_.isEmpty() ? QDir::currentPath() : QFileInfo(currentPath_).absolutePath();
  return QDir::cleanPath(QDir(base).absoluteFilePath(path));
}

void THtmlView::mousePressEvent(QMouseEvent *event) {
  pressedHref_ = anchorAt(event->position().toPoint());
  QTextBrowser::mousePressEvent(event);
}

void THtmlView::mouseReleaseEvent(QMouseEvent *event) {
  // The click, if any, is reported inside the release; a press that ended elsewhere must
  // not lend its href to a later activation from the keyboard.
  QTextBrowser::mouseReleaseEvent(event);
  pressedHref_.clear();
}

QString THtmlView::FocusedHref() const {
  const QTextCursor focus = textCursor();
  if (!focus.hasSelection())
    return {};
  // The focused link is selected; its first character carries the href as the page has it.
  QTextCursor first(document());
  first.setPosition(focus.selectionStart() + 1);
  return first.charFormat().anchorHref();
}

void THtmlView::keyPressEvent(QKeyEvent *event) {
  // Enter on a focused link reports only a QUrl, which has decoded what "kzp:" text must
  // keep ("%41" would arrive as "A"), so the href is taken from the page beforehand.
  const bool activates = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (activates)
    pressedHref_ = FocusedHref();
  QTextBrowser::keyPressEvent(event);
  if (activates)
    pressedHref_.clear();
}

void THtmlView::FollowLink(const QUrl &url) {
  // A click or Enter reports the href as the page wrote it; anything else only has the
  // QUrl, whose unencoded form is the closest to what the page says.
  QString href = pressedHref_;
  pressedHref_.clear();
  if (href.isEmpty())
    href = url.toString(QUrl::FullyDecoded);
  const int hash = href.indexOf(QLatin1Char('#'));
  QString scheme;
  if (hash == 0) {
    scrollToAnchor(href.mid(1)); // a jump inside the page is no navigation
    return;
  }
  if (!HasScheme(href, &scheme) || scheme == QLatin1String("file")) {
    const QString address = AddressOfLink(href);
    if (MayNavigate(address))
      Load(address, hash > 0 ? href.mid(hash + 1) : QString());
    return;
  }
  Navigate(href);
}

bool THtmlView::MayNavigate(const QString &address) {
  bool cancel = false;
  if (OnBeforeNavigate)
    OnBeforeNavigate(*this, address, cancel);
  return !cancel;
}

void THtmlView::Navigate(const QString &address) {
  if (MayNavigate(address)) {
    QString scheme;
    if (HasScheme(address, &scheme) && scheme != QLatin1String("file"))
      return; // nothing but local pages can be shown here
    Load(scheme == QLatin1String("file") ? QUrl(address).toLocalFile() : address, QString());
  }
}

void THtmlView::Load(const QString &path, const QString &fragment) {
  QUrl url = QUrl::fromLocalFile(path);
  if (!fragment.isEmpty())
    url.setFragment(fragment);
  loading_ = true;
  currentPath_ = path;
  setSource(url);
  loading_ = false;
}

void THtmlView::doSetSource(const QUrl &name, QTextDocument::ResourceType type) {
  if (!loading_) {
    // History steps (backward, forward, reload) go past the owner like any link.
    const QString address = name.isLocalFile() ? name.toLocalFile() : name.toString();
    if (!MayNavigate(address))
      return;
    if (name.isLocalFile())
      currentPath_ = name.toLocalFile();
  }
  QTextBrowser::doSetSource(name, type);
}
