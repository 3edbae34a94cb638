#include "session/ChoiceSettings.h"

#include "concordance/RequestOptions.h"

#include <QSettings>
#include <QStringList>

namespace quorvex {

namespace {

const QString kGroup = QStringLiteral("Outils");
// The request's choices as quorvex-cli's options, so a new choice is kept without a key of
// its own.
const QString kRequestKey = QStringLiteral("requete");
const QString kMarkKey = QStringLiteral("marquer_traductions");
// ~/.config/Veltrano/Quorvex.ini on Linux, %APPDATA%\Veltrano\Quorvex.ini on Windows.
const QString kOrganisation = QStringLiteral("Veltrano");
const QString kApplication = QStringLiteral("Quorvex");

} // namespace

SearchChoices readKeptChoices()
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, kOrganisation, kApplication);
    settings.beginGroup(kGroup);
    std::vector<std::string> args;
    for (const QString& word : settings.value(kRequestKey).toStringList())
        args.push_back(word.toStdString());
    SearchChoices c;
    // A line edited by hand into something unreadable starts with no choice rather than half.
    if (RequestReading reading = readRequestArguments(args); reading.error.empty())
        c.asked = std::move(reading.request);
    c.markTranslations = settings.value(kMarkKey, false).toBool();
    return c;
}

void keepChoices(const SearchChoices& c)
{
    SearchRequest kept = c.asked;
    // Forms left out and the French lemma chosen in "Traductions" belong to one list.
    kept.excludedForms.clear();
    kept.frenchLemma.reset();
    kept.query.clear();
    std::vector<std::string> args = requestArguments(kept);
    args.resize(args.size() - 2);  // "--" and the query
    QStringList words;
    for (const std::string& arg : args)
        words << QString::fromStdString(arg);
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, kOrganisation, kApplication);
    settings.beginGroup(kGroup);
    settings.setValue(kRequestKey, words);
    settings.setValue(kMarkKey, c.markTranslations);
}

} // namespace quorvex
