// Stand-in for the template editor until the studio's own editor control is linked in: a
// plain text field that keeps the same contract (CR LF text, no change event on SetText).
#include "workbench/TemplateEditor.h"

#include "platform/qt/QtCodePage.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextBlock>

using kzp::codepage::FromQString;
using kzp::codepage::ToQString;

namespace {
QString FromEditorText(const std::string &text)
{
    QString s = ToQString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

std::string ToEditorText(QString s)
{
    s.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    s.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return FromQString(s);
}
} // namespace

struct TTemplateEditor::TImpl : QObject {
    TTemplateEditor *Owner = nullptr;
    QPlainTextEdit *Edit = nullptr;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && Owner->OnKeyPress) {
            const QString text = static_cast<QKeyEvent *>(event)->text();
            if (!text.isEmpty()) {
                bool lossless = true;
                const std::string bytes = FromQString(text.left(1), &lossless);
                if (!bytes.empty()) {
                    char key = bytes[0];
                    Owner->OnKeyPress(key);
                }
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

TTemplateEditor::TTemplateEditor(QWidget *parent) : QObject(parent), impl_(std::make_unique<TImpl>())
{
    impl_->Owner = this;
    impl_->Edit = new QPlainTextEdit(parent);
    impl_->Edit->setObjectName(QStringLiteral("editor"));
    impl_->Edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font(QStringLiteral("Courier New"), 10);
    font.setStyleHint(QFont::Monospace);
    impl_->Edit->setFont(font);
    impl_->Edit->installEventFilter(impl_.get());
    connect(impl_->Edit, &QPlainTextEdit::textChanged, this, [this] {
        if (OnChange)
            OnChange();
    });
}

TTemplateEditor::~TTemplateEditor()
{
    if (impl_->Edit)
        impl_->Edit->removeEventFilter(impl_.get());
}

QWidget *TTemplateEditor::Widget() const { return impl_->Edit; }

std::string TTemplateEditor::Text() const { return ToEditorText(impl_->Edit->toPlainText()); }

void TTemplateEditor::SetText(const std::string &text)
{
    const QSignalBlocker block(impl_->Edit);
    impl_->Edit->setPlainText(FromEditorText(text));
    impl_->Edit->viewport()->update();
}

std::string TTemplateEditor::SelectedText() const
{
    return ToEditorText(impl_->Edit->textCursor().selectedText());
}

void TTemplateEditor::SetSelectedText(const std::string &text)
{
    impl_->Edit->textCursor().insertText(FromEditorText(text));
}

void TTemplateEditor::CopySelection() { impl_->Edit->copy(); }
void TTemplateEditor::PasteClipboard() { impl_->Edit->paste(); }
void TTemplateEditor::CutSelection() { impl_->Edit->cut(); }
void TTemplateEditor::Undo() { impl_->Edit->undo(); }
void TTemplateEditor::Redo() { impl_->Edit->redo(); }

bool TTemplateEditor::UndoAvailable() const
{
    return !impl_->Edit->isReadOnly() && impl_->Edit->document()->isUndoAvailable();
}

bool TTemplateEditor::RedoAvailable() const
{
    return !impl_->Edit->isReadOnly() && impl_->Edit->document()->isRedoAvailable();
}

void TTemplateEditor::SetEnabled(bool enabled) { impl_->Edit->setEnabled(enabled); }
bool TTemplateEditor::Enabled() const { return impl_->Edit->isEnabled(); }
void TTemplateEditor::SetFocus() { impl_->Edit->setFocus(); }

int TTemplateEditor::CaretX() const { return impl_->Edit->textCursor().positionInBlock() + 1; }
int TTemplateEditor::CaretY() const { return impl_->Edit->textCursor().blockNumber() + 1; }

std::string TTemplateEditor::LineText(int y) const
{
    const QTextBlock block = impl_->Edit->document()->findBlockByNumber(y - 1);
    return block.isValid() ? FromQString(block.text()) : std::string();
}

void TTemplateEditor::SetCaret(int x, int y)
{
    const QTextBlock block = impl_->Edit->document()->findBlockByNumber(y - 1);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + std::min(x - 1, block.length() - 1));
    impl_->Edit->setTextCursor(cursor);
}

void TTemplateEditor::SetSelection(int x1, int y1, int x2, int y2)
{
    QTextDocument *doc = impl_->Edit->document();
    const QTextBlock a = doc->findBlockByNumber(y1 - 1), b = doc->findBlockByNumber(y2 - 1);
    if (!a.isValid() || !b.isValid())
        return;
    QTextCursor cursor(doc);
    cursor.setPosition(a.position() + std::min(x1 - 1, a.length() - 1));
    cursor.setPosition(b.position() + std::min(x2 - 1, b.length() - 1), QTextCursor::KeepAnchor);
    impl_->Edit->setTextCursor(cursor);
}

void TTemplateEditor::SetHighlighter(TKzCustomHighlighter *) {}
