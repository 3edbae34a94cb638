#pragma once
// The small Latin lexicon of SmallLexiconData.h written into a window test's folder and named
// by QUORVEX_LEXICON.

#include "support/SmallLexiconData.h"
#include "support/SmallTagData.h"
#include "support/WindowDriver.h"

namespace quorvex {

inline void writeSmallLexicon(WindowDriver& d)
{
    d.write(QStringLiteral("modeles.la"), testsupport::kSmallLexiconModels);
    d.write(QStringLiteral("lemmes.la"), testsupport::kSmallLexiconLemmata);
    d.write(QStringLiteral("tags.la"), testsupport::kSmallTagCounts);
    d.write(QStringLiteral("morphos.fr"), testsupport::kSmallMorphoNames);
    d.write(QStringLiteral("lemmes.fr"), "Français\ndeus:dieu\ndico2:dire\nsum:être\n");
    for (const char* empty : {"irregs.la", "assimilations.la", "contractions.la"})
        d.write(QString::fromLatin1(empty), "!\n");
    qputenv("QUORVEX_LEXICON", d.dir.path().toUtf8());
}

} // namespace quorvex
