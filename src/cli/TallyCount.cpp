#include "cli/TallyCount.h"

#include "cli/CliChecks.h"
#include "cli/CommandCommon.h"
#include "cli/LemmaSearch.h"
#include "concordance/FoldedFormTally.h"
#include "concordance/LemmaMatch.h"
#include "concordance/PhraseQuery.h"
#include "concordance/TextLemmata.h"
#include "concordance/TextTagging.h"
#include "text/Cp1252.h"
#include "text/TextFile.h"

#include <algorithm>
#include <condition_variable>
#include <future>
#include <mutex>
#include <sstream>
#include <stdexcept>

namespace quorvex {

bool countTakesTally(const CliOptions& o)
{
    if (o.action != CliAction::Count || !(o.search.lemma || o.search.normalize))
        return false;
    // The analysis filter reads every word's reading; a strict lemma only the sentences where
    // it is in doubt, found by a second pass.
    if (o.search.morph)
        return false;
    // Anything else that changes the list needs its words, so the word table.
    CliOptions rest = o;
    rest.search.normalize = false;
    return readerOptionUsed(rest) == nullptr;
}

namespace {

// The written forms the pass has met and the analysing thread has not yet taken.
class FormsHandedOver {
public:
    // The forms of `tally` from the last one handed over on.
    void handOver(const FormTally& tally)
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            for (; m_handed < tally.typeCount(); ++m_handed) {
                const std::string_view form = tally.typeText(static_cast<FormTally::TypeId>(m_handed));
                m_bytes.append(form.data(), form.size());
                m_ends.push_back(m_bytes.size());
            }
        }
        m_ready.notify_one();
    }
    void close()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_closed = true;
        }
        m_ready.notify_one();
    }
    // Calls f(form) for every form handed over, in order, until close().
    template <typename F>
    void take(F&& f)
    {
        std::string bytes;
        std::vector<std::size_t> ends;
        for (bool last = false; !last;) {
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_ready.wait(lock, [this] { return !m_ends.empty() || m_closed; });
                bytes.swap(m_bytes);
                ends.swap(m_ends);
                last = m_closed;
            }
            std::size_t from = 0;
            for (const std::size_t to : ends) {
                f(std::string_view(bytes).substr(from, to - from));
                from = to;
            }
            bytes.clear();
            ends.clear();
        }
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::string m_bytes;
    std::vector<std::size_t> m_ends;
    std::size_t m_handed = 0;
    bool m_closed = false;
};

} // namespace

int tallyLatinText(const CliOptions& options, LetterSet letters, LexiconUse use,
                   std::ostream& err, TalliedText& into, bool keepText)
{
    const bool withLexicon = use != LexiconUse::None;
    const bool analysing = use == LexiconUse::ReadAndAnalyse;
    into.latin = std::make_unique<OnePassText>();
    OnePassText& latin = *into.latin;
    if (const int code = openTextFile(options.latinPath, err, latin))
        return code;

    // The lexicon is read, then the forms analysed as the pass meets them, by a second
    // thread; its messages wait for the text's.
    std::ostringstream lexiconErr;
    FormsHandedOver handedOver;
    std::unique_ptr<TextLemmata::Builder> builder;
    std::future<int> analysis;
    if (withLexicon)
        analysis = std::async(std::launch::async, [&] {
            const int code = loadLexicon(options, lexiconErr, into.lexicon,
                                         use == LexiconUse::ReadWithTags ? &into.tags : nullptr);
            if (!analysing)
                return code;
            if (code) {
                handedOver.take([](std::string_view) {});
                return code;
            }
            builder = std::make_unique<TextLemmata::Builder>(*into.lexicon);
            handedOver.take([&](std::string_view form) { builder->addWrittenForm(form); });
            return kExitOk;
        });

    bool again = false;
    const int code = unlessMemoryRunsShort(err, loadingWhat(options.latinPath), [&] {
        // The thread must be told the pass is over, however it ends.
        struct Closing {
            FormsHandedOver& forms;
            ~Closing() { forms.close(); }
        } closing{handedOver};
        into.forms = std::make_unique<FormTally>(letters);
        latin.forEachPiece(
            letters,
            [&](std::string_view piece) {
                into.forms->add(piece);
                if (analysing)
                    handedOver.handOver(*into.forms);
            },
            keepText);
        if (!latin.intact()) {
            // Another program shortened the text while it was read: tallied again as it is now.
            std::string reread;
            if (const int code = readTextFile(options.latinPath, err, reread))
                return code;
            into.forms = std::make_unique<FormTally>(letters);
            into.forms->add(reread);
            into.latin.reset();  // not what was tallied
            again = true;
        }
        return kExitOk;
    });
    if (!keepText)
        into.latin.reset();
    if (!withLexicon)
        return code;
    int lexiconCode = kExitOk;
    bool memoryShort = false;
    try {
        lexiconCode = analysis.get();
    } catch (const std::bad_alloc&) {
        memoryShort = true;
    } catch (const std::length_error&) {
        memoryShort = true;
    }
    if (code)
        return code;  // the text's message alone, as when the lexicon is read after it
    if (memoryShort)
        return reportMemoryShort(err, "le lexique latin");
    err << lexiconErr.str();
    if (lexiconCode || !analysing)
        return lexiconCode;
    return unlessMemoryRunsShort(err, "le lexique latin", [&] {
        const FormTally& forms = *into.forms;
        into.lemmata = std::make_unique<TextLemmata>(
            again ? TextLemmata::build(forms, *into.lexicon)
                  : builder->finish([&forms](std::uint32_t w) { return forms.typeFrequency(w); }));
        return kExitOk;
    });
}

namespace {

// The words of a strict lemma: the tally decides the forms of no doubt, a second pass over
// the text finds the sentences of the others, which alone are tagged.
int countStrictLemma(const CliOptions& options, std::ostream& err, const TalliedText& text,
                     const std::vector<lexicon::LemmaId>& lemmata, std::size_t& count)
{
    // The text the pass tallied, still mapped; or, shortened meanwhile, the one it read again.
    if (text.latin && text.latin->intact()) {
        count = TextTagging::countWordsOfLemmata(text.latin->bytes(), *text.forms, *text.lexicon, *text.tags, lemmata);
        if (text.latin->intact())
            return kExitOk;
    }
    std::string again;
    if (const int code = readTextFile(options.latinPath, err, again))
        return code;
    // What this reading holds, tallied again to match it.
    FormTally forms(LetterSet::Extended);
    forms.add(again);
    count = TextTagging::countWordsOfLemmata(again, forms, *text.lexicon, *text.tags, lemmata);
    return kExitOk;
}

// Adds the text's pieces to a tally through `add`; a text another program shortened while it
// was read is tallied again, as it is now, after `restart`.
template <typename Add, typename Restart>
int passOverText(const CliOptions& options, std::ostream& err, OnePassText& latin, Add&& add, Restart&& restart)
{
    return unlessMemoryRunsShort(err, loadingWhat(options.latinPath), [&] {
        latin.forEachPiece(LetterSet::Extended, add);
        if (latin.intact())
            return kExitOk;
        std::string reread;
        if (const int code = readTextFile(options.latinPath, err, reread))
            return code;
        restart();
        add(std::string_view(reread));
        return kExitOk;
    });
}

// A count by lemma that reads the lexicon first: a lemma it knows needs only the words spelt
// as its forms may be, counted in one pass with no table of the text's forms; any other name
// is read as the whole search reads it, for its form or its message.
int countLemmaInOnePass(const CliOptions& options, std::ostream& err, std::size_t& count)
{
    OnePassText latin;
    if (const int code = openTextFile(options.latinPath, err, latin))
        return code;
    std::unique_ptr<lexicon::Lexicon> lexicon;
    if (const int code = loadLexicon(options, err, lexicon, nullptr))
        return code;
    const std::string& typed = options.operands.front();
    const std::vector<lexicon::LemmaId> named = lexicon->lemmataNamed(isValidUtf8(typed) ? typed : cp1252ToUtf8(typed));
    if (!named.empty()) {
        std::unique_ptr<FoldedFormTally> spelt;
        if (const int code = unlessMemoryRunsShort(err, searchWhat(options), [&] {
                spelt = std::make_unique<FoldedFormTally>(lexicon->spellingsOf(named), LetterSet::Extended);
                return kExitOk;
            }))
            return code;
        if (const int code = passOverText(
                options, err, latin, [&](std::string_view piece) { spelt->add(piece); },
                [&] { spelt = std::make_unique<FoldedFormTally>(lexicon->spellingsOf(named), LetterSet::Extended); }))
            return code;
        return unlessMemoryRunsShort(err, searchWhat(options), [&] {
            count = countLemmaWords(*lexicon, *spelt, named, false);
            return kExitOk;
        });
    }
    auto forms = std::make_unique<FormTally>(LetterSet::Extended);
    if (const int code = passOverText(
            options, err, latin, [&](std::string_view piece) { forms->add(piece); },
            [&] { forms = std::make_unique<FormTally>(LetterSet::Extended); }))
        return code;
    return unlessMemoryRunsShort(err, "le lexique latin", [&] {
        const TextLemmata lemmata = TextLemmata::build(*forms, *lexicon);
        const LemmaMatchResult match = matchLemmaTypes(*lexicon, lemmata, typed, false);
        err << match.lines;
        if (match.kind == LemmaMatchKind::Unknown)
            return kExitFileError;
        count = lemmata.wordCount(match.types);
        return kExitOk;
    });
}

} // namespace

int runTallyCount(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    if (options.search.lemma && !options.search.lemmaStrict) {
        std::size_t count = 0;
        if (const int code = countLemmaInOnePass(options, err, count))
            return code;
        out << count << '\n';
        return finishOutput(out, err);
    }
    std::string form;
    bool searchable = true;
    if (!options.search.lemma)
        convertForm(options, err, form, searchable);
    // A folded spelling without a star is one form of a-z: the words so spelt are counted in
    // one pass, with no table of the text's forms.
    if (!options.search.lemma && searchable) {
        const std::string spelling = lowered(folded(form, Folding::Spelling));
        if (!spelling.empty() && std::all_of(spelling.begin(), spelling.end(), [](char c) { return c >= 'a' && c <= 'z'; })) {
            OnePassText latin;
            if (const int code = openTextFile(options.latinPath, err, latin))
                return code;
            FoldedFormTally spelt({spelling}, LetterSet::Extended);
            if (const int code = passOverText(
                    options, err, latin, [&](std::string_view piece) { spelt.add(piece); },
                    [&] { spelt = FoldedFormTally({spelling}, LetterSet::Extended); }))
                return code;
            out << spelt.frequency(0) << '\n';
            return finishOutput(out, err);
        }
    }
    TalliedText text;
    const bool strict = options.search.lemma && options.search.lemmaStrict;
    const LexiconUse use = strict ? LexiconUse::ReadWithTags : options.search.lemma ? LexiconUse::Read : LexiconUse::None;
    if (const int code = tallyLatinText(options, LetterSet::Extended, use, err, text, strict))
        return code;
    std::size_t count = 0;
    if (options.search.lemma) {
        // A lemma the lexicon knows needs only its own forms decided; any other name is read
        // as the whole search reads it, for its form or its message.
        const std::string& typed = options.operands.front();
        const bool tagged = strict && text.tags && !text.tags->empty();
        const std::vector<lexicon::LemmaId> named = tagged ? text.lexicon->lemmataNamed(isValidUtf8(typed) ? typed : cp1252ToUtf8(typed))
                                                           : std::vector<lexicon::LemmaId>();
        if (!named.empty()) {
            if (const int code = unlessMemoryRunsShort(err, searchWhat(options), [&] {
                    return countStrictLemma(options, err, text, named, count);
                }))
                return code;
        } else if (const auto known = countLemmaWords(*text.lexicon, *text.forms, typed, options.search.lemmaStrict)) {
            count = *known;
        } else {
            const TextLemmata lemmata = TextLemmata::build(*text.forms, *text.lexicon);
            const LemmaMatchResult match =
                matchLemmaTypes(*text.lexicon, lemmata, typed, options.search.lemmaStrict);
            err << match.lines;
            if (match.kind == LemmaMatchKind::Unknown)
                return kExitFileError;
            count = lemmata.wordCount(match.types);
        }
    } else if (searchable) {
        const WordPattern pattern(form, Folding::Spelling);
        count = text.forms->wordsWhere([&pattern](std::string_view t) { return pattern.matches(t); });
    }
    out << count << '\n';
    return finishOutput(out, err);
}

} // namespace quorvex
