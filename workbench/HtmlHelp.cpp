// The help window: the index of the help file on the left, the page on the right. Pages and
// their pictures come straight out of the compiled file through chmlib.
#include "workbench/HtmlHelp.h"

#include "workbench/ChmFile.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPointer>
#include <QSplitter>
#include <QTextBrowser>
#include <QUrl>

#include <memory>

namespace {
std::unique_ptr<TChmLibrary> helpLibrary;

// Pages of the help file live in the archive; links between them are archive paths.
class THelpBrowser : public QTextBrowser {
public:
  explicit THelpBrowser(QWidget *parent) : QTextBrowser(parent) { setOpenExternalLinks(false); }

  void SetFile(std::shared_ptr<TChmFile> file) { file_ = std::move(file); }

  void ShowPage(const std::string &archivePath) {
    std::string path = archivePath;
    if (path.empty() || path.front() != '/')
      path.insert(path.begin(), '/');
    QUrl url;
    url.setScheme(QStringLiteral("chm"));
    url.setPath(QString::fromStdString(path));
    setSource(url, QTextDocument::HtmlResource);
  }

  QVariant loadResource(int type, const QUrl &name) override {
    if (!file_)
      return {};
    std::string path = name.path().toStdString();
    if (path.empty() || path.front() != '/')
      path.insert(path.begin(), '/');
    const auto bytes = file_->Read(path);
    if (!bytes)
      return QTextBrowser::loadResource(type, name);
    return QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size()));
  }

private:
  std::shared_ptr<TChmFile> file_;
};

class THelpWindow : public QDialog {
public:
  explicit THelpWindow(QWidget *owner) : QDialog(owner) {
    setWindowTitle(QStringLiteral("Hilfe"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    resize(760, 520);
    auto *splitter = new QSplitter(this);
    index_ = new QListWidget(splitter);
    page_ = new THelpBrowser(splitter);
    splitter->setStretchFactor(1, 3);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    connect(index_, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
      page_->ShowPage(item->data(Qt::UserRole).toString().toStdString());
    });
    connect(index_, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
      page_->ShowPage(item->data(Qt::UserRole).toString().toStdString());
    });
  }

  // Returns false when the file has neither an index nor a start page to show.
  bool Show(std::shared_ptr<TChmFile> file, unsigned command) {
    page_->SetFile(file);
    index_->clear();
    std::vector<TSitemapEntry> entries;
    if (const std::string indexFile = file->IndexFile(); !indexFile.empty())
      if (const auto text = file->Read("/" + indexFile))
        entries = ParseSitemap(*text);
    for (const TSitemapEntry &e : entries) {
      auto *item = new QListWidgetItem(QString::fromUtf8(e.Name), index_);
      item->setData(Qt::UserRole, QString::fromUtf8(e.Local));
    }
    index_->setVisible(command == HH_DISPLAY_INDEX);
    std::string start = file->DefaultTopic();
    if (start.empty() && !entries.empty())
      start = entries.front().Local;
    if (start.empty() && entries.empty())
      return false;
    if (!start.empty())
      page_->ShowPage(start);
    show();
    raise();
    activateWindow();
    return true;
  }

private:
  QListWidget *index_;
  THelpBrowser *page_;
};

QPointer<THelpWindow> helpWindow;
} // namespace

void LoadHtmlHelp(const char *libraryName) {
  helpLibrary = std::make_unique<TChmLibrary>(libraryName);
}

void UnloadHtmlHelp() {
  delete helpWindow.data();
  helpLibrary.reset();
}

bool HtmlHelpAvailable() { return helpLibrary && helpLibrary->Available(); }

std::intptr_t HtmlHelp(QWidget *owner, const std::string &file, unsigned command, std::uintptr_t) {
  if (!HtmlHelpAvailable() || (command != HH_DISPLAY_INDEX && command != HH_DISPLAY_TOPIC))
    return 0;
  auto chm = std::make_shared<TChmFile>(*helpLibrary, file);
  if (!chm->Valid())
    return 0;
  if (!helpWindow || helpWindow->parentWidget() != owner) {
    delete helpWindow.data();
    helpWindow = new THelpWindow(owner);
  }
  return helpWindow->Show(std::move(chm), command) ? 1 : 0;
}

QWidget *HtmlHelpWindow() { return helpWindow.data(); }
