#include "cli/CliChecks.h"

#include "concordance/RequestOptions.h"
#include "translation/Equivalents.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <vector>

namespace quorvex {

const char* readerOptionUsed(const CliOptions& o)
{
    // Folded spelling first: under a lemma it is the lemma's own, and the callers that allow
    // the lemma clear it.
    if (o.search.normalize)
        return "--normalize";
    // Every other choice of the request filters or widens the list and so needs the word
    // table, a choice added later included; the lemma, the order and the analyses have checks
    // of their own.
    static constexpr std::string_view kOwnChecks[] = {"--normalize", "--lemma", "--lemma-strict",
                                                      "--sort", "--morph", "--analyses"};
    std::vector<std::string> words;
    for (const RequestOption& option : requestOptions()) {
        if (std::find(std::begin(kOwnChecks), std::end(kOwnChecks), option.name) != std::end(kOwnChecks))
            continue;
        words.clear();
        option.write(o.search, words);
        if (!words.empty())
            return option.name == std::string_view("--side") ? "--side french" : option.name;
    }
    if (o.equivalents)
        return "--equivalents";
    return nullptr;
}

namespace {

// What each action needs once every option is read.
std::string checkAction(const CliOptions& o)
{
    if (o.action == CliAction::Help || o.action == CliAction::Version)
        return {};
    if (o.format && o.action != CliAction::Export && o.action != CliAction::Frequencies
        && o.action != CliAction::Collocates && o.action != CliAction::Translations)
        return "--format ne s'emploie pas avec " + o.actionOption + ".";
    if (o.format == ExportFormat::Tmx && o.action != CliAction::Export)
        return "--format tmx s'emploie seul, pas avec " + o.actionOption + ".";
    if (o.action != CliAction::Translations) {
        if (o.topGiven)
            return "--top ne s'emploie qu'avec --translations.";
        if (o.allWords && !o.equivalents)
            return "--all-words ne s'emploie qu'avec --translations ou --equivalents.";
        if (o.dictionaryPath && !o.search.frenchLemma && !o.equivalents)
            return "--dictionary ne s'emploie qu'avec --translations, --equivalents ou --french-lemma.";
    }
    if (o.equivalents) {
        if (o.action != CliAction::List
            && !(o.action == CliAction::Export && o.format != ExportFormat::Tmx))
            return "--equivalents s'emploie avec --list ou --format tsv|csv|html, pas avec "
                + (o.actionOption.empty() ? std::string("le fichier de résultats") : o.actionOption) + ".";
        if (o.frenchPath.empty())
            return "--equivalents demande le texte français (--french FICHIER).";
        if (o.search.frenchSide)
            return "--equivalents ne s'emploie pas avec --side french.";
    }
    if (!o.search.lemma)
        if (std::string refusal = lemmaRefusal(o.search); !refusal.empty())
            return refusal;
    if (o.search.analyses && o.action != CliAction::List
        && !(o.action == CliAction::Export && o.format != ExportFormat::Tmx))
        return "--analyses s'emploie avec --list ou --format tsv|csv|html, pas avec "
            + (o.actionOption.empty() ? std::string("le fichier de résultats") : o.actionOption) + ".";
    if (o.search.morph && o.action == CliAction::Frequencies)
        return "--morph ne s'emploie pas avec --frequencies.";
    if (!o.search.lemma && o.action != CliAction::LexiconCheck && (o.lexiconPath || o.lexiconExtension))
        return std::string(o.lexiconPath ? "--lexicon" : "--lexicon-extension")
            + " ne s'emploie qu'avec --lemma.";
    if (o.search.lemma) {
        const char* lemmaOption = o.search.lemmaStrict ? "--lemma-strict" : "--lemma";
        // The query is not read yet: a "*" in it is refused with the action's checks below.
        SearchRequest withoutQuery = o.search;
        withoutQuery.query.clear();
        if (std::string refusal = lemmaRefusal(withoutQuery); !refusal.empty())
            return refusal;
        if (o.action == CliAction::Show || o.action == CliAction::PrintContext
            || o.action == CliAction::Check || o.action == CliAction::LexiconCheck)
            return std::string(lemmaOption) + " ne s'emploie pas avec " + o.actionOption + ".";
        if (o.action == CliAction::Frequencies) {
            if (!o.operands.empty())
                return "--frequencies " + std::string(lemmaOption)
                    + " ne prend pas de forme : il compte tous les lemmes du texte (« "
                    + o.operands[0] + " » est de trop).";
            if (o.latinPath.empty())
                return "l'option --latin FICHIER est obligatoire.";
            if (o.outputPath)
                return "--output ne s'emploie pas avec --frequencies.";
            if (o.search.sort != SortOrder::Text)
                return "--sort ne s'emploie pas avec --frequencies (les lemmes y sont classés par "
                       "fréquence).";
            if (o.format == ExportFormat::Html)
                return "--frequencies s'écrit en tsv ou en csv, pas en html.";
            if (const char* used = readerOptionUsed(o))
                return std::string(used) + " ne s'emploie pas avec --frequencies.";
            return {};
        }
        if (o.operands.size() == 1)
            if (std::string refusal = lemmaRefusal(o.search); !refusal.empty())
                return refusal;
    }
    switch (o.action) {
    case CliAction::Help:
    case CliAction::Version:
        return {};
    case CliAction::LexiconCheck:
        if (!o.operands.empty())
            return "--lexicon-check ne prend pas de forme à rechercher (« " + o.operands[0]
                + " » est de trop).";
        if (o.outputPath)
            return "--output ne s'emploie pas avec --lexicon-check.";
        if (o.search.sort != SortOrder::Text)
            return "--sort ne s'emploie pas avec --lexicon-check.";
        return {};
    case CliAction::Check:
        if (o.markForm)
            return "--mark ne s'emploie qu'avec --show.";
        if (o.latinPath.empty())
            return "l'option --latin FICHIER est obligatoire.";
        if (!o.operands.empty())
            return "--check ne prend pas de forme à rechercher (« " + o.operands[0]
                + " » est de trop).";
        if (o.outputPath)
            return "--output ne s'emploie pas avec --check.";
        if (o.search.sort != SortOrder::Text)
            return "--sort ne s'emploie pas avec --check.";
        return {};
    case CliAction::Show:
        if (o.latinPath.empty())
            return "l'option --latin FICHIER est obligatoire.";
        if (!o.operands.empty())
            return "--show ne prend pas de forme à rechercher (« " + o.operands[0]
                + " » est de trop ; la forme à marquer se donne avec --mark).";
        if (o.outputPath)
            return "--output ne s'emploie pas avec --show.";
        return {};
    case CliAction::PrintContext:
        if (o.markForm)
            return "--mark ne s'emploie qu'avec --show.";
        if (o.latinPath.empty())
            return "l'option --latin FICHIER est obligatoire.";
        if (!o.operands.empty())
            return "--print-context ne prend pas de forme à rechercher (« " + o.operands[0]
                + " » est de trop).";
        if (o.outputPath)
            return "--output ne s'emploie pas avec --print-context.";
        return {};
    case CliAction::ResultFile:
    case CliAction::Count:
    case CliAction::List:
    case CliAction::PrintList:
    case CliAction::Kwic:
    case CliAction::Export:
    case CliAction::Frequencies:
    case CliAction::Collocates:
    case CliAction::Plot:
    case CliAction::Translations:
        if (o.markForm)
            return "--mark ne s'emploie qu'avec --show.";
        if (o.latinPath.empty())
            return "l'option --latin FICHIER est obligatoire.";
        if (o.operands.empty())
            return "la forme à rechercher manque.";
        if (o.operands.size() > 1)
            return "une seule forme à la fois (« " + o.operands[1]
                + " » est de trop ; une forme qui commence par « - » se place après « -- »).";
        if (o.action != CliAction::ResultFile && o.action != CliAction::Export
            && o.action != CliAction::Translations && o.outputPath)
            return "--output ne s'emploie pas avec " + o.actionOption + ".";
        if (o.action == CliAction::Frequencies && o.search.sort != SortOrder::Text)
            return "--sort ne s'emploie pas avec --frequencies (les formes y sont classées par "
                   "fréquence).";
        if (o.action == CliAction::Frequencies && o.format == ExportFormat::Html)
            return "--frequencies s'écrit en texte, en tsv ou en csv, pas en html.";
        if (o.action == CliAction::Translations) {
            if (o.frenchPath.empty())
                return "--translations demande le texte français (--french FICHIER).";
            if (o.format == ExportFormat::Html)
                return "--translations s'écrit en tsv ou en csv, pas en html.";
            if (o.search.sort != SortOrder::Text)
                return "--sort ne s'emploie pas avec --translations (les lemmes y sont classés "
                       "par association).";
            if (o.search.frenchSide)
                return equivalentsRefusal(true);
        }
        return {};
    }
    return {};
}

// The reader's options and the commands that read the list beyond the window's.
std::string checkReaderOptions(CliOptions& o)
{
    if (o.action == CliAction::Help)
        return {};
    if (o.plotPath) {
        if (o.action == CliAction::ResultFile) {
            o.action = CliAction::Plot;
            o.actionOption = "--plot";
        } else if (o.action != CliAction::Export || o.format != ExportFormat::Html) {
            return "--plot s'emploie seul ou avec --format html, pas avec " + o.actionOption + ".";
        }
    }
    if (o.action == CliAction::Plot && o.outputPath)
        return "--output ne s'emploie pas avec --plot seul (l'image va dans le fichier de --plot).";
    if (o.format == ExportFormat::Tmx && (o.search.frenchSide || o.plotPath))
        return std::string("--format tmx a le latin pour langue source : pas avec ")
            + (o.search.frenchSide ? "--side french." : "--plot.");
    if (o.action == CliAction::Collocates && o.format == ExportFormat::Html)
        return "--collocates s'écrit en tsv ou en csv, pas en html.";
    if ((o.action == CliAction::Collocates || o.action == CliAction::Plot) && o.search.sort != SortOrder::Text)
        return "--sort ne s'emploie pas avec " + o.actionOption + ".";
    if (const char* used = readerOptionUsed(o)) {
        if (o.action == CliAction::Frequencies || o.action == CliAction::Show
            || o.action == CliAction::PrintContext || o.action == CliAction::Check
            || o.action == CliAction::LexiconCheck)
            return std::string(used) + " ne s'emploie pas avec " + o.actionOption + ".";
    }
    return frenchRefusal(o.search, !o.frenchPath.empty());
    return {};
}

} // namespace

std::string checkOptions(CliOptions& o)
{
    std::string error = checkAction(o);
    if (!error.empty())
        return error;
    // A lemma's forms are compared folded, as --normalize folds them; --frequencies --lemma
    // counts the whole text and takes none of the reader's options.
    if (o.search.lemma && o.action == CliAction::Frequencies)
        return {};
    if (o.search.lemma)
        o.search.normalize = true;
    return checkReaderOptions(o);
}

} // namespace quorvex
