#include "lexicon/Lexicon.h"

#include "lexicon/LatinSpelling.h"
#include "lexicon/LexiconData.h"
#include "lexicon/LexiconImage.h"
#include "lexicon/LexiconLines.h"
#include "lexicon/LexiconReader.h"
#include "lexicon/ReadingRules.h"
#include "system/CacheFolder.h"
#include "system/SystemFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <new>
#include <stdexcept>

namespace quorvex::lexicon {

namespace {

// The lexicon's files are a few megabytes; a file far larger is not one of them.
constexpr std::uint64_t kMaxFileBytes = std::uint64_t(256) << 20;

} // namespace

LexiconProblem readWhole(const std::string& path, std::string& out)
{
    const sys::OpenedInput in = sys::openRegularForReading(sys::pathFromUtf8(path));
    switch (in.status) {
    case sys::OpenStatus::Ok: break;
    case sys::OpenStatus::NotFound: return {ProblemKind::MissingFile, path, 0, "", in.err};
    case sys::OpenStatus::IsDirectory:
        return {ProblemKind::UnreadableFile, path, 0, "c'est un dossier", 0};
    case sys::OpenStatus::NotRegular:
        return {ProblemKind::UnreadableFile, path, 0, "ce n'est pas un fichier ordinaire", 0};
    case sys::OpenStatus::Failed:
        return {ProblemKind::UnreadableFile, path, 0, sys::errnoReason(in.err), in.err};
    }
    if (in.size > kMaxFileBytes) {
        std::fclose(in.file);
        return {ProblemKind::UnreadableFile, path, 0, "fichier trop grand pour un lexique", 0};
    }
    out.clear();
    out.reserve(static_cast<std::size_t>(in.size));
    char buffer[1 << 16];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, in.file);
        out.append(buffer, n);
        if (out.size() > kMaxFileBytes) {
            std::fclose(in.file);
            return {ProblemKind::UnreadableFile, path, 0, "fichier trop grand pour un lexique", 0};
        }
        if (n < sizeof buffer)
            break;
    }
    const bool failed = std::ferror(in.file) != 0;
    const int err = errno;
    std::fclose(in.file);
    if (failed)
        return {ProblemKind::UnreadableFile, path, 0, sys::errnoReason(err), err};
    return {};
}

LexiconProblem identifyWhole(const std::string& path, FileIdentity& identity)
{
    const std::filesystem::path name = sys::pathFromUtf8(path);
    const sys::OpenedInput in = sys::openRegularForReading(name);
    if (in.status == sys::OpenStatus::Ok && in.size <= kMaxFileBytes) {
        sys::MappedFile mapped;
        const bool ok = mapped.map(in);
        std::fclose(in.file);
        if (ok) {
            const auto found = identifyFile(name, std::string_view(mapped.data(), mapped.size()));
            if (found && mapped.intact()) {
                identity = *found;
                return {};
            }
        }
    } else if (in.status == sys::OpenStatus::Ok) {
        std::fclose(in.file);
    }
    // Not mapped (empty, refused, changed meanwhile): read as a parse reads it, which says
    // what is wrong with it.
    std::string content;
    if (LexiconProblem problem = readWhole(path, content))
        return problem;
    const auto found = identifyFile(name, content);
    if (!found)
        return {ProblemKind::MissingFile, path, 0, "", 0};
    identity = *found;
    return {};
}

namespace {

std::size_t editDistance(std::string_view a, std::string_view b, std::vector<std::size_t>& row)
{
    row.resize(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t up = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = up;
        }
    }
    return row[b.size()];
}

} // namespace

std::string describeProblem(const LexiconProblem& p)
{
    switch (p.kind) {
    case ProblemKind::None: return {};
    case ProblemKind::MissingFile:
        return "Le fichier du lexique « " + p.file + " » est introuvable.";
    case ProblemKind::UnreadableFile:
        return "Le fichier du lexique « " + p.file + " » ne peut pas être lu : " + p.detail + ".";
    case ProblemKind::OutOfMemory:
        return "Mémoire insuffisante pour lire le lexique « " + p.file + " ».";
    case ProblemKind::MalformedLine:
        return p.file + ":" + std::to_string(p.line) + ": ligne mal formée (" + p.detail + ")";
    }
    return {};
}

Lexicon::Lexicon() : m_data(std::make_unique<LexiconData>()) {}
Lexicon::~Lexicon() = default;
Lexicon::Lexicon(Lexicon&&) noexcept = default;
Lexicon& Lexicon::operator=(Lexicon&&) noexcept = default;

namespace {

// The tables read, as the queries read them: the image made of them, which the lexicon keeps.
void adoptTables(LexiconData& data, const LexiconTables& tables)
{
    data.ownedImage = writeLexiconImage(tables, nullptr, {});
    if (!readLexiconImage(data.ownedImage, data, nullptr, {}))
        throw std::logic_error("the image of the lexicon's tables does not read back");
}

} // namespace

Lexicon Lexicon::parse(const LexiconTexts& texts, std::vector<LexiconProblem>& malformed)
{
    Lexicon lexicon;
    LexiconTables tables;
    readLexicon(tables, texts, LexiconFileNames{}, malformed);
    adoptTables(*lexicon.m_data, tables);
    return lexicon;
}

Lexicon Lexicon::load(const std::string& folder, bool withExtension, LexiconProblem& failure,
                      std::vector<LexiconProblem>& malformed)
{
    return load(folder, withExtension, failure, malformed, CacheFolder());
}

Lexicon Lexicon::load(const std::string& folder, bool withExtension, LexiconProblem& failure,
                      std::vector<LexiconProblem>& malformed, const CacheFolder& cache, ImageUse* use)
{
    failure = {};
    if (use)
        *use = ImageUse::None;
    LexiconFileNames names;
    // A folder named with its final separator gets no second one ("\\" on Windows).
    const bool separated = folder.empty() || folder.back() == '/'
        || folder.back() == static_cast<char>(std::filesystem::path::preferred_separator);
    const std::string base = separated ? folder : folder + "/";
    const std::vector<std::string*> all = {&names.models,        &names.lemmata,      &names.irregulars,
                                           &names.assimilations, &names.contractions, &names.glosses,
                                           &names.extensionLemmata, &names.extensionGlosses};
    for (std::string* name : all)
        *name = base + *name;
    try {
        LexiconTexts texts;
        struct Wanted {
            const std::string* path;
            std::string* into;
        };
        std::vector<Wanted> wanted = {
            {&names.models, &texts.models},
            {&names.lemmata, &texts.lemmata},
            {&names.irregulars, &texts.irregulars},
            {&names.assimilations, &texts.assimilations},
            {&names.contractions, &texts.contractions},
            {&names.glosses, &texts.glosses},
        };
        if (withExtension) {
            wanted.push_back({&names.extensionLemmata, &texts.extensionLemmata});
            wanted.push_back({&names.extensionGlosses, &texts.extensionGlosses});
        }
        std::vector<std::string> files;
        for (const std::string* name : all)
            files.push_back(*name);
        // The image's key: how this program reads, and what it would read. The files are
        // mapped to be hashed, one at a time, so that a run with an image copies none of them.
        std::string key;
        std::vector<FileIdentity> identities;
        if (cache.enabled()) {
            key = "lexicon " + lexiconImageVersion() + (withExtension ? " with extension " : " ");
            for (const Wanted& w : wanted) {
                identities.emplace_back();
                failure = identifyWhole(*w.path, identities.back());
                if (failure)
                    return Lexicon();
                key += identityKey({identities.back()});
            }
        }
        if (!key.empty())
            if (std::unique_ptr<const CacheEntry> entry = cache.readInPlace("lexicon", key)) {
                Lexicon lexicon;
                std::vector<LexiconProblem> problems;
                if (readLexiconImage(entry->payload(), *lexicon.m_data, &problems, files)) {
                    lexicon.m_data->mapped = std::move(entry);
                    malformed.insert(malformed.end(), problems.begin(), problems.end());
                    if (use)
                        *use = ImageUse::Read;
                    return lexicon;
                }
            }
        for (std::size_t i = 0; i < wanted.size(); ++i) {
            failure = readWhole(*wanted[i].path, *wanted[i].into);
            if (failure)
                return Lexicon();
            // A file changed since it was hashed: its image would carry the wrong key.
            if (!key.empty()) {
                const auto now = identifyFile(sys::pathFromUtf8(*wanted[i].path), *wanted[i].into);
                if (!now || now->size != identities[i].size || now->modified != identities[i].modified
                    || now->contentHash != identities[i].contentHash)
                    key.clear();
            }
        }
        Lexicon lexicon;
        LexiconTables tables;
        const std::size_t before = malformed.size();
        readLexicon(tables, texts, names, malformed);
        adoptTables(*lexicon.m_data, tables);
        if (!key.empty()) {
            const std::vector<LexiconProblem> problems(malformed.begin() + static_cast<std::ptrdiff_t>(before),
                                                       malformed.end());
            const std::string image = writeLexiconImage(tables, &problems, files);
            if (!image.empty() && cache.write("lexicon", key, image) && use)
                *use = ImageUse::Written;
        }
        return lexicon;
    } catch (const std::bad_alloc&) {
        failure = {ProblemKind::OutOfMemory, folder, 0, "", 0};
        return Lexicon();
    }
}

std::size_t Lexicon::lemmaCount() const noexcept { return m_data->lemmata.size(); }
Lemma Lexicon::lemma(LemmaId id) const noexcept { return m_data->lemma(id); }

namespace {

// Calls onStem(link, model, ending) for every stem of the lexicon that `form` begins with
// whose model has the rest of `form` as an ending (numbered in endingNames) for that stem's root.
template <typename OnStem>
void forEachStemEnding(const LexiconData& d, std::string_view form, OnStem onStem)
{
    const std::size_t longest = std::min<std::size_t>(d.longestEnding, form.size());
    for (std::size_t n = 0; n <= longest; ++n) {
        const std::uint32_t ending = d.endingNames.find(form.substr(form.size() - n));
        if (ending == StringTable::npos)
            continue;
        const std::uint32_t name = d.stemNames.find(form.substr(0, form.size() - n));
        if (name == StringTable::npos)
            continue;
        const std::uint32_t* pairs = d.endingPairs.begin() + d.endingPairStart[ending];
        const std::uint32_t* pairsEnd = d.endingPairs.begin() + d.endingPairStart[ending + 1];
        for (std::uint32_t k = d.stemHead[name]; k != kNoLink; k = d.nextLink(k)) {
            const StemLink& link = d.stems[k];
            const std::uint32_t model = d.lemmaModel[link.lemma];
            if (std::binary_search(pairs, pairsEnd, (model << 8) | link.root))
                onStem(link, model, ending);
        }
    }
}

// Calls f(entry) for each ending of the model.
template <typename F>
void forEachModelEnding(const LexiconData& d, std::uint32_t model, F&& f)
{
    for (std::uint32_t i = d.modelEndingStart[model], end = d.modelEndingStart[model + 1]; i < end; ++i)
        f(d.modelEndings[i]);
}

// The regular and irregular analyses of one spelling, without the fallbacks.
void analyseDirect(const LexiconData& d, std::string_view form, std::vector<LemmaId>& out)
{
    const std::uint32_t irregular = d.irregularForms.find(form);
    if (irregular != StringTable::npos)
        out.insert(out.end(), d.irregularLemmata.begin() + d.irregularStart[irregular],
                   d.irregularLemmata.begin() + d.irregularStart[irregular + 1]);
    forEachStemEnding(d, form, [&](const StemLink& link, std::uint32_t model, std::uint32_t ending) {
        if (d.replacesAny(link.lemma)) {
            // Some other morphology must still give this ending its regular form.
            bool still = false;
            forEachModelEnding(d, model, [&](const ModelEnding& e) {
                if (e.root == link.root && e.ending == ending && !d.replaces(link.lemma, e.morpho))
                    still = true;
            });
            if (!still)
                return;
        }
        out.push_back(link.lemma);
    });
}

// The readings of one spelling with their morphologies, without the fallbacks: what
// analyseDirect finds, each ending's morphologies listed.
void readingsDirect(const LexiconData& d, std::string_view form, std::vector<Analysis>& out)
{
    const std::uint32_t irregular = d.irregularForms.find(form);
    if (irregular != StringTable::npos)
        for (std::uint32_t i = d.irregularAnalysisStart[irregular]; i < d.irregularAnalysisStart[irregular + 1]; ++i)
            out.push_back({d.irregularAnalysisLemma[i], d.irregularAnalysisMorpho[i]});
    forEachStemEnding(d, form, [&](const StemLink& link, std::uint32_t model, std::uint32_t ending) {
        const bool replacing = d.replacesAny(link.lemma);
        forEachModelEnding(d, model, [&](const ModelEnding& e) {
            if (e.root != link.root || e.ending != ending)
                return;
            if (replacing && d.replaces(link.lemma, e.morpho))
                return;
            out.push_back({link.lemma, e.morpho});
        });
    });
}

// Direct analysis, then the spelling with a prefix assimilated or not, or a contracted
// ending restored, when the direct one finds nothing. `direct` is analyseDirect or
// readingsDirect.
template <typename Out, typename Direct>
void analyseWith(const LexiconData& d, std::string_view form, std::vector<Out>& out, Direct direct)
{
    const std::size_t before = out.size();
    direct(d, form, out);
    if (out.size() != before)
        return;
    std::string variant;
    for (const auto& [plain, assimilated] : d.assimilations) {
        for (int way = 0; way < 2; ++way) {
            const std::string& from = way == 0 ? plain : assimilated;
            const std::string& to = way == 0 ? assimilated : plain;
            if (form.size() > from.size() && form.substr(0, from.size()) == from) {
                variant = to;
                variant.append(form.substr(from.size()));
                direct(d, variant, out);
            }
        }
    }
    for (const auto& [contracted, full] : d.contractions) {
        if (form.size() > contracted.size()
            && form.substr(form.size() - contracted.size()) == contracted) {
            variant.assign(form.substr(0, form.size() - contracted.size()));
            variant += full;
            direct(d, variant, out);
        }
    }
}

LemmaId findLemma(const LexiconData& d, std::string_view folded, std::uint16_t homograph)
{
    const std::uint32_t name = d.foldedNames.find(folded);
    if (name != StringTable::npos)
        for (std::uint32_t i = d.byFoldedStart[name]; i < d.byFoldedStart[name + 1]; ++i)
            if (d.lemmata[d.byFolded[i]].homograph == homograph)
                return d.byFolded[i];
    return kNoLink;
}

// "isset" itself is a short form (of iisset).
bool endsWith(std::string_view form, std::string_view ending)
{
    return form.size() >= ending.size() && form.substr(form.size() - ending.size()) == ending;
}

// The readings the rules add to those of the models (out[start..]), see ReadingRules.h.
void addRuleReadings(const LexiconData& d, std::string_view form, std::vector<Analysis>& out, std::size_t start)
{
    const bool unknown = out.size() == start;
    std::vector<Analysis> found;
    std::string variant;
    for (const FormRule& rule : formRules()) {
        if (!endsWith(form, rule.ending))
            continue;
        const bool hasIt = std::any_of(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(),
                                       [&rule](const Analysis& a) { return a.morpho == rule.morpho; });
        if (rule.whenUnknown ? !unknown : hasIt)
            continue;
        for (const std::string_view full : lines::split(rule.full, ',')) {
            variant.assign(form.substr(0, form.size() - rule.ending.size()));
            variant += full;
            found.clear();
            readingsDirect(d, variant, found);
            for (const Analysis& a : found)
                if (a.morpho == rule.morpho)
                    out.push_back(a);
        }
    }
    for (const ListedForm& listed : listedForms()) {
        if (form != listed.form)
            continue;
        const LemmaId id = findLemma(d, listed.lemma, listed.homograph);
        if (id != kNoLink)
            for (const std::uint16_t morpho : listed.morphos)
                out.push_back({id, morpho});
    }
    for (const ParticipleOwner& owner : participleOwners()) {
        const LemmaId from = findLemma(d, owner.owner, 1), to = findLemma(d, owner.verb, 1);
        if (from == kNoLink || to == kNoLink)
            continue;
        for (std::size_t i = start, n = out.size(); i < n; ++i)
            if (out[i].lemma == from && out[i].morpho >= kFirstPerfectParticiple
                && out[i].morpho <= kLastPerfectParticiple)
                out.push_back({to, out[i].morpho});
    }
}

// Whether a rule may add to what the models give the form (which are `found`).
bool rulesMayApply(const LexiconData& d, std::string_view form, const LemmaId* found, std::size_t count)
{
    for (const FormRule& rule : formRules())
        if (endsWith(form, rule.ending))
            return true;
    for (const ListedForm& listed : listedForms())
        if (form == listed.form)
            return true;
    for (const ParticipleOwner& owner : participleOwners()) {
        const LemmaId from = findLemma(d, owner.owner, 1);
        if (std::find(found, found + count, from) != found + count)
            return true;
    }
    return false;
}

void readingsWithRules(const LexiconData& d, std::string_view form, std::vector<Analysis>& out)
{
    const std::size_t start = out.size();
    analyseWith(d, form, out, readingsDirect);
    addRuleReadings(d, form, out, start);
}

// Calls `tryIt` with each spelling a later spelling of `form` may stand for, one change at a
// time, until it returns true.
template <typename Try>
void forEachClassicalSpelling(std::string_view form, Try&& tryIt)
{
    std::string variant;
    for (const LaterSpelling& s : laterSpellings()) {
        for (std::size_t at = form.find(s.later); at != std::string_view::npos; at = form.find(s.later, at + 1)) {
            if (!s.anywhere && at != 0)
                break;
            variant.assign(form.substr(0, at));
            variant += s.classical;
            variant.append(form.substr(at + s.later.size()));
            if (tryIt(std::string_view(variant)))
                return;
        }
    }
}

// The lemmata of the models' readings, and of the rules' when one may apply (rarely: the
// readings cost more to find than their lemmata).
void analyseWord(const LexiconData& d, std::string_view form, std::vector<LemmaId>& out)
{
    const std::size_t start = out.size();
    analyseWith(d, form, out, analyseDirect);
    if (!rulesMayApply(d, form, out.data() + start, out.size() - start))
        return;
    std::vector<Analysis> readings;
    readingsWithRules(d, form, readings);
    out.resize(start);
    for (const Analysis& a : readings)
        out.push_back(a.lemma);
}

} // namespace

bool Lexicon::knowsForm(std::string_view folded) const
{
    std::vector<LemmaId> found;
    analyseWord(*m_data, folded, found);
    return !found.empty();
}

void Lexicon::analyse(std::string_view folded, std::vector<LemmaId>& out) const
{
    const std::size_t start = out.size();
    analyseWord(*m_data, folded, out);
    if (out.size() == start)
        forEachClassicalSpelling(folded, [&](std::string_view classical) {
            analyseWord(*m_data, classical, out);
            return out.size() != start;
        });
    if (out.size() == start) {
        for (const std::string_view enclitic : {"que", "ne", "ue"}) {
            if (folded.size() >= enclitic.size() + 2
                && folded.substr(folded.size() - enclitic.size()) == enclitic) {
                analyseWord(*m_data, folded.substr(0, folded.size() - enclitic.size()), out);
                break;
            }
        }
    }
    const auto& lemmata = m_data->lemmata;
    std::sort(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(),
              [&lemmata](LemmaId a, LemmaId b) {
                  if (lemmata[a].frequency != lemmata[b].frequency)
                      return lemmata[a].frequency > lemmata[b].frequency;
                  return a < b;
              });
    out.erase(std::unique(out.begin() + static_cast<std::ptrdiff_t>(start), out.end()), out.end());
}

Lexicon::FormFilter Lexicon::formFilter(const std::vector<LemmaId>& lemmata) const
{
    const LexiconData& d = *m_data;
    FormFilter filter;
    filter.m_data = m_data.get();
    filter.m_starts.resize(256);
    // A participle whose owner lends it to a wanted verb is that verb's too (factus of fio).
    std::vector<LemmaId> ids = lemmata;
    for (const ParticipleOwner& owner : participleOwners()) {
        const LemmaId from = findLemma(d, owner.owner, 1), to = findLemma(d, owner.verb, 1);
        if (from != kNoLink && std::find(lemmata.begin(), lemmata.end(), to) != lemmata.end())
            ids.push_back(from);
    }
    const auto wanted = [&ids](LemmaId id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); };
    const auto add = [&filter](std::string_view start) {
        if (start.empty())
            filter.m_anyStart = true;
        else
            filter.m_starts[static_cast<unsigned char>(start.front())].emplace_back(start);
    };
    for (std::uint32_t name = 0; name < d.stemHead.size(); ++name)
        for (std::uint32_t k = d.stemHead[name]; k != kNoLink; k = d.nextLink(k))
            if (wanted(d.stems[k].lemma)) {
                add(d.stemNames.at(name));
                break;
            }
    for (std::uint32_t form = 0; form < d.irregularForms.size(); ++form)
        if (std::any_of(d.irregularLemmata.begin() + d.irregularStart[form],
                        d.irregularLemmata.begin() + d.irregularStart[form + 1], wanted))
            add(d.irregularForms.at(form));
    for (const ListedForm& listed : listedForms())
        if (wanted(findLemma(d, listed.lemma, listed.homograph)))
            add(listed.form);
    return filter;
}

std::vector<std::string> Lexicon::spellingsOf(const std::vector<LemmaId>& lemmata) const
{
    const LexiconData& d = *m_data;
    // A participle whose owner lends it to a wanted verb is that verb's too (factus of fio).
    std::vector<bool> wanted(d.lemmata.size(), false);
    for (const LemmaId id : lemmata)
        if (id < wanted.size())
            wanted[id] = true;
    for (const ParticipleOwner& owner : participleOwners()) {
        const LemmaId from = findLemma(d, owner.owner, 1), to = findLemma(d, owner.verb, 1);
        if (from != kNoLink && to != kNoLink && wanted[to])
            wanted[from] = true;
    }
    const auto isWanted = [&wanted](LemmaId id) { return id < wanted.size() && wanted[id]; };

    // What analyseDirect reads: each stem of the lemmata with every ending its model gives
    // that stem's root; the irregular forms; the forms the grammars list.
    std::vector<std::string> made;
    for (std::uint32_t name = 0; name < d.stemHead.size(); ++name)
        for (std::uint32_t k = d.stemHead[name]; k != kNoLink; k = d.nextLink(k)) {
            const StemLink& link = d.stems[k];
            if (!isWanted(link.lemma))
                continue;
            const std::string_view stem = d.stemNames.at(name);
            forEachModelEnding(d, d.lemmaModel[link.lemma], [&](const ModelEnding& e) {
                if (e.root != link.root)
                    return;
                std::string form(stem);
                form += d.endingNames.at(e.ending);
                made.push_back(std::move(form));
            });
        }
    for (std::uint32_t form = 0; form < d.irregularForms.size(); ++form)
        if (std::any_of(d.irregularLemmata.begin() + d.irregularStart[form],
                        d.irregularLemmata.begin() + d.irregularStart[form + 1], isWanted))
            made.emplace_back(d.irregularForms.at(form));
    for (const ListedForm& listed : listedForms())
        if (isWanted(findLemma(d, listed.lemma, listed.homograph)))
            made.emplace_back(listed.form);
    const auto sortUnique = [](std::vector<std::string>& v) {
        std::sort(v.begin(), v.end());
        v.erase(std::unique(v.begin(), v.end()), v.end());
    };
    sortUnique(made);

    // What analyseWord reads as one of those: the spelling analyseWith or a reading rule
    // turns into it, each way undone.
    std::vector<std::string> read = made;
    for (const std::string& form : made) {
        for (const auto& [plain, assimilated] : d.assimilations)
            for (int way = 0; way < 2; ++way) {
                const std::string& from = way == 0 ? plain : assimilated;
                const std::string& to = way == 0 ? assimilated : plain;
                if (form.size() > to.size() && form.compare(0, to.size(), to) == 0)
                    read.push_back(from + form.substr(to.size()));
            }
        for (const auto& [contracted, full] : d.contractions)
            if (form.size() > full.size() && endsWith(form, full))
                read.push_back(form.substr(0, form.size() - full.size()) + contracted);
        for (const FormRule& rule : formRules())
            for (const std::string_view full : lines::split(rule.full, ','))
                if (endsWith(form, full)) {
                    std::string shortened = form.substr(0, form.size() - full.size());
                    shortened += rule.ending;
                    read.push_back(std::move(shortened));
                }
    }
    sortUnique(read);

    // What analyse reads as one of those: a later spelling of one (one change at a time),
    // or one with an enclitic.
    std::vector<std::string> all = read;
    for (const std::string& form : read) {
        for (const LaterSpelling& s : laterSpellings())
            for (std::size_t at = form.find(s.classical); at != std::string::npos;
                 at = form.find(s.classical, at + 1)) {
                if (!s.anywhere && at != 0)
                    break;
                all.push_back(form.substr(0, at) + std::string(s.later) + form.substr(at + s.classical.size()));
            }
        for (const std::string_view enclitic : {"que", "ne", "ue"})
            all.push_back(form + std::string(enclitic));
    }
    sortUnique(all);
    return all;
}

bool Lexicon::FormFilter::begunByOne(std::string_view spelling) const
{
    if (m_anyStart)
        return true;
    if (spelling.empty())
        return false;
    for (const std::string& start : m_starts[static_cast<unsigned char>(spelling.front())])
        if (spelling.size() >= start.size() && spelling.compare(0, start.size(), start) == 0)
            return true;
    return false;
}

bool Lexicon::FormFilter::mayGive(std::string_view folded) const
{
    // Every spelling analyse may look up for the form, and more: a superset is safe.
    std::string variant;
    const auto anyVariantBegun = [&](std::string_view form) {
        if (begunByOne(form))
            return true;
        for (const auto& [plain, assimilated] : m_data->assimilations)
            for (int way = 0; way < 2; ++way) {
                const std::string& from = way == 0 ? plain : assimilated;
                const std::string& to = way == 0 ? assimilated : plain;
                if (form.size() > from.size() && form.compare(0, from.size(), from) == 0) {
                    variant = to;
                    variant.append(form.substr(from.size()));
                    if (begunByOne(variant))
                        return true;
                }
            }
        for (const auto& [contracted, full] : m_data->contractions)
            if (form.size() > contracted.size()
                && form.compare(form.size() - contracted.size(), contracted.size(), contracted) == 0) {
                variant.assign(form.substr(0, form.size() - contracted.size()));
                variant += full;
                if (begunByOne(variant))
                    return true;
            }
        return false;
    };
    // The form as written, then as the reading rules restore it (a short perfect's full
    // ending, a genitive's -ii), then in the classical spelling of a later one.
    const auto anyReadingBegun = [&](std::string_view form) {
        if (anyVariantBegun(form))
            return true;
        std::string full;
        for (const FormRule& rule : formRules()) {
            if (!endsWith(form, rule.ending))
                continue;
            for (const std::string_view ending : lines::split(rule.full, ',')) {
                full.assign(form.substr(0, form.size() - rule.ending.size()));
                full += ending;
                if (anyVariantBegun(full))
                    return true;
            }
        }
        return false;
    };
    if (anyReadingBegun(folded))
        return true;
    bool classicalBegun = false;
    forEachClassicalSpelling(folded, [&](std::string_view classical) {
        return classicalBegun = anyReadingBegun(std::string(classical));
    });
    if (classicalBegun)
        return true;
    for (const std::string_view enclitic : {"que", "ne", "ue"})
        if (folded.size() >= enclitic.size() + 2
            && folded.substr(folded.size() - enclitic.size()) == enclitic
            && anyReadingBegun(folded.substr(0, folded.size() - enclitic.size())))
            return true;
    return false;
}

FormAnalyses Lexicon::analyses(std::string_view folded) const
{
    FormAnalyses found;
    readingsWithRules(*m_data, folded, found.readings);
    if (found.readings.empty())
        forEachClassicalSpelling(folded, [&](std::string_view classical) {
            readingsWithRules(*m_data, classical, found.readings);
            return !found.readings.empty();
        });
    if (found.readings.empty()) {
        using Enclitic = FormAnalyses::Enclitic;
        for (const auto& [enclitic, kind] : {std::pair<std::string_view, Enclitic>{"que", Enclitic::Que},
                                             {"ne", Enclitic::Ne}, {"ue", Enclitic::Ue}}) {
            if (folded.size() >= enclitic.size() + 2
                && folded.substr(folded.size() - enclitic.size()) == enclitic) {
                readingsWithRules(*m_data, folded.substr(0, folded.size() - enclitic.size()), found.readings);
                if (!found.readings.empty())
                    found.enclitic = kind;
                break;
            }
        }
    }
    const auto& lemmata = m_data->lemmata;
    std::sort(found.readings.begin(), found.readings.end(), [&lemmata](const Analysis& a, const Analysis& b) {
        if (lemmata[a.lemma].frequency != lemmata[b.lemma].frequency)
            return lemmata[a.lemma].frequency > lemmata[b.lemma].frequency;
        if (a.lemma != b.lemma)
            return a.lemma < b.lemma;
        return a.morpho < b.morpho;
    });
    found.readings.erase(std::unique(found.readings.begin(), found.readings.end()), found.readings.end());
    return found;
}

char Lexicon::partOfSpeech(LemmaId id) const noexcept { return m_data->lemmaPos[id]; }

std::vector<LemmaId> Lexicon::lemmataNamed(std::string_view typed) const
{
    std::size_t end = typed.size();
    while (end > 0 && typed[end - 1] >= '0' && typed[end - 1] <= '9')
        --end;
    int homograph = 0;  // 0: every homograph
    if (end < typed.size()) {
        if (typed.size() - end > 4)
            return {};
        for (std::size_t i = end; i < typed.size(); ++i)
            homograph = homograph * 10 + (typed[i] - '0');
        if (homograph == 0)
            return {};
    }
    const FoldedSpelling folded = foldSpelling(typed.substr(0, end));
    if (!folded.ok || folded.letters.empty())
        return {};
    std::vector<LemmaId> ids;
    const std::uint32_t name = m_data->foldedNames.find(folded.letters);
    if (name != StringTable::npos)
        for (std::uint32_t i = m_data->byFoldedStart[name]; i < m_data->byFoldedStart[name + 1]; ++i)
            if (homograph == 0 || m_data->lemmata[m_data->byFolded[i]].homograph == homograph)
                ids.push_back(m_data->byFolded[i]);
    // The entry a reader's usual head stands for ("ab" for the lexicon's "a"), unless a
    // homograph was named.
    if (homograph == 0)
        for (const ReaderName& reader : readerNames()) {
            if (reader.typed != folded.letters)
                continue;
            const LemmaId id = findLemma(*m_data, reader.lemma, reader.homograph);
            if (id != kNoLink && std::find(ids.begin(), ids.end(), id) == ids.end())
                ids.push_back(id);
        }
    return ids;
}

std::vector<LemmaId> Lexicon::neighbours(std::string_view folded, std::size_t max) const
{
    std::vector<std::pair<std::size_t, LemmaId>> scored;
    std::vector<std::size_t> row;
    std::size_t best = static_cast<std::size_t>(-1);
    const auto& lemmata = m_data->lemmata;
    for (LemmaId id = 0; id < lemmata.size(); ++id) {
        const std::string_view candidate = m_data->textOf(lemmata[id].folded);
        // The distance is at least the difference of lengths: skip what cannot tie.
        const std::size_t gap = candidate.size() > folded.size() ? candidate.size() - folded.size()
                                                                 : folded.size() - candidate.size();
        if (gap > best)
            continue;
        const std::size_t distance = editDistance(folded, candidate, row);
        if (distance > best)
            continue;
        if (distance < best) {
            best = distance;
            scored.clear();
        }
        scored.emplace_back(distance, id);
    }
    std::sort(scored.begin(), scored.end(), [&lemmata](const auto& a, const auto& b) {
        if (lemmata[a.second].frequency != lemmata[b.second].frequency)
            return lemmata[a.second].frequency > lemmata[b.second].frequency;
        return a.second < b.second;
    });
    std::vector<LemmaId> ids;
    for (std::size_t i = 0; i < scored.size() && i < max; ++i)
        ids.push_back(scored[i].second);
    return ids;
}

std::string Lexicon::spellings(const std::vector<LemmaId>& ids) const
{
    std::string joined;
    for (const LemmaId id : ids) {
        if (!joined.empty())
            joined += ", ";
        joined += m_data->textOf(m_data->lemmata[id].spelling);
    }
    return joined;
}

} // namespace quorvex::lexicon
