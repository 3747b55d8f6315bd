#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The 57 languages the two lists offer: display names and Google language codes, matched by
// position alone.
struct LanguageCatalogue
{
    QStringList displayNames;
    QStringList codes;

    static LanguageCatalogue build();
};

// The code at a list position; empty for anything outside the catalogue (a list with no
// selection reports -1).
std::optional<QString> CodeForPosition(const QStringList &codes, int position);
