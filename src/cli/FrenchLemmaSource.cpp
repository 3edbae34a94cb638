#include "cli/FrenchLemmaSource.h"

#include "cli/CommandCommon.h"
#include "system/CacheFolder.h"
#include "translation/CachingStemmer.h"
#include "translation/FunctionWords.h"

namespace quorvex {

int openFrenchLemmas(const CliOptions& options, std::string_view frenchText, std::ostream& err,
                     FrenchLemmaSource& into, std::optional<std::uint64_t> textHash)
{
    const bool named = options.dictionaryPath.has_value();
    const std::string path = named ? *options.dictionaryPath : std::string(kDefaultFrenchDictionary);
    const CacheFolder cache = options.noCache ? CacheFolder() : CacheFolder(defaultCacheFolder());
    OpenedStemmer opened = openFrenchStemmer(path, options.frenchPath, frenchText, cache, textHash);
    switch (opened.status) {
    case DictionaryStatus::Opened:
        into.stemmer = std::move(opened.stemmer);
        break;
    case DictionaryStatus::NotBuiltIn:
        err << "quorvex-cli : ce programme est construit sans Hunspell : chaque mot français "
               "compte pour lui-même, en minuscules.\n";
        break;
    case DictionaryStatus::Missing:
        if (named)
            return reportFileError(err, opened.error);
        err << "quorvex-cli : dictionnaire français introuvable (" << path
            << ", paquet hunspell-fr) : chaque mot français compte pour lui-même, en minuscules.\n";
        break;
    }
    into.lemmas = std::make_unique<FrenchLemmas>(into.stemmer.get());
    return kExitOk;
}

bool withFunctionWords(const CliOptions& options, std::string_view cp1252Query,
                       const lexicon::Lexicon* lexicon)
{
    return options.allWords || isLatinFunctionLemma(cp1252Query, lexicon);
}

} // namespace quorvex
