// Checks of user-interface text against the pack's code page.
#include "workbench/PackText.h"

#include "platform/qt/QtCodePage.h"

#include <QLineEdit>

#include <utility>

bool FitsThePack(const QString &text) {
  bool lossless = true;
  kzp::codepage::FromQString(text, &lossless);
  return lossless;
}

const char *FirstUnfitMetaField(const QLineEdit *titel, const QLineEdit *author,
                                const QLineEdit *mail, const QLineEdit *web,
                                const QLineEdit *ordner) {
  const std::pair<const QLineEdit *, const char *> labelled[] = {
      {titel, "Titel"}, {author, "Autor"}, {mail, "E-Mail"}, {web, "Web"}, {ordner, "Ordner"}};
  for (const auto &[field, label] : labelled)
    if (!FitsThePack(field->text()))
      return label;
  return nullptr;
}

kzpMetaData MetaDataOf(const QLineEdit *titel, const QLineEdit *author, const QLineEdit *mail,
                       const QLineEdit *web, const QLineEdit *ordner) {
  using kzp::codepage::FromQString;
  return {FromQString(titel->text()), FromQString(author->text()), FromQString(mail->text()),
          FromQString(web->text()), FromQString(ordner->text())};
}
