// An embedded HTML view that asks its owner before every navigation, its own included.
#pragma once

#include <QTextBrowser>

#include <functional>

class THtmlView : public QTextBrowser {
  Q_OBJECT
public:
  explicit THtmlView(QWidget *parent = nullptr);

  // Asked before each navigation with the target address: a plain file path for local
  // pages, the address as written for anything else ("kzp:...", "http://..."). Setting
  // `cancel` keeps the view where it is.
  std::function<void(THtmlView &view, const QString &address, bool &cancel)> OnBeforeNavigate;

  // Goes to a file path or address, through OnBeforeNavigate like any link.
  void Navigate(const QString &address);

  // The file path of the page shown, empty before the first page.
  QString CurrentPath() const { return currentPath_; }

  // The address a link with this href leads to, as OnBeforeNavigate will see it.
  QString AddressOfLink(const QString &href) const;

  // The raw href of the link that has the keyboard focus, empty when none has.
  QString FocusedHref() const;

protected:
  void doSetSource(const QUrl &name, QTextDocument::ResourceType type) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;

private:
  void FollowLink(const QUrl &url);
  bool MayNavigate(const QString &address);
  void Load(const QString &path, const QString &fragment);

  QString currentPath_;
  // The raw href of the link being activated (under the mouse press, or focused when
  // Enter is pressed), before QUrl rewrote it; empty outside such an activation.
  QString pressedHref_;
  bool loading_ = false;
};
