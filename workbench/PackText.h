// Whether text from the user interface can be stored in a pack, which keeps the program's
// 8-bit code page: a character outside it would silently vanish on the way in.
#pragma once

#include "pack/PackStore.h"

#include <QString>

class QLineEdit;

bool FitsThePack(const QString &text);

// The label ("Titel", "Autor", "E-Mail", "Web", "Ordner") of the first of the five metadata
// fields, given in that order, whose text does not fit; null when all fit.
const char *FirstUnfitMetaField(const QLineEdit *titel, const QLineEdit *author,
                                const QLineEdit *mail, const QLineEdit *web,
                                const QLineEdit *ordner);

// The five metadata fields, given in pack order, as the pack's 8-bit strings.
kzpMetaData MetaDataOf(const QLineEdit *titel, const QLineEdit *author, const QLineEdit *mail,
                       const QLineEdit *web, const QLineEdit *ordner);
