#include "session/ChoiceSettings.h"

#include <QSettings>

namespace quorvex {

namespace {

const QString kGroup = QStringLiteral("Outils");
// ~/.config/Veltrano/Quorvex.ini on Linux, %APPDATA%\Veltrano\Quorvex.ini on Windows.
const QString kOrganisation = QStringLiteral("Veltrano");
const QString kApplication = QStringLiteral("Quorvex");

} // namespace

SearchChoices readKeptChoices()
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, kOrganisation, kApplication);
    settings.beginGroup(kGroup);
    SearchChoices c;
    c.lemma = settings.value(QStringLiteral("lemme"), false).toBool();
    c.lemmaStrict = c.lemma && settings.value(QStringLiteral("lemme_strict"), false).toBool();
    c.normalize = settings.value(QStringLiteral("orthographe"), false).toBool();
    c.phrase = settings.value(QStringLiteral("expression"), false).toBool();
    c.frenchSide = settings.value(QStringLiteral("cote_francais"), false).toBool();
    c.frenchForm = settings.value(QStringLiteral("forme_francaise")).toString();
    c.aligned = settings.value(QStringLiteral("filtre_aligne"), false).toBool();
    c.morph = c.lemma ? settings.value(QStringLiteral("analyse")).toString() : QString();
    c.markTranslations = settings.value(QStringLiteral("marquer_traductions"), false).toBool();
    return c;
}

void keepChoices(const SearchChoices& c)
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, kOrganisation, kApplication);
    settings.beginGroup(kGroup);
    settings.setValue(QStringLiteral("lemme"), c.lemma);
    settings.setValue(QStringLiteral("lemme_strict"), c.lemmaStrict);
    settings.setValue(QStringLiteral("orthographe"), c.normalize);
    settings.setValue(QStringLiteral("expression"), c.phrase);
    settings.setValue(QStringLiteral("cote_francais"), c.frenchSide);
    settings.setValue(QStringLiteral("forme_francaise"), c.frenchForm);
    settings.setValue(QStringLiteral("filtre_aligne"), c.aligned);
    settings.setValue(QStringLiteral("analyse"), c.morph);
    settings.setValue(QStringLiteral("marquer_traductions"), c.markTranslations);
}

} // namespace quorvex
