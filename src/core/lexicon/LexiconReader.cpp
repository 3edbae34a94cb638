// Reading the lexicon's files into its tables. Lines are read one by one; a line that does
// not fit its file's format is reported (file, line, why) and skipped, never the file.

#include "lexicon/LatinSpelling.h"
#include "lexicon/LexiconData.h"
#include "lexicon/LexiconLines.h"
#include "lexicon/LexiconReader.h"

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>

namespace quorvex::lexicon {

namespace {

// A preposition, conjunction or pronoun, by the free text of the entry's indication.
bool closedClassIndication(std::string_view indication)
{
    for (const std::string_view mark : {"pr\xC3\xA9p.", "conj.", "pron."})
        if (indication.find(mark) != std::string_view::npos)
            return true;
    return false;
}

using namespace lines;

// One ending of a model while models are read: the form is the root numbered `root`
// followed by `ending`.
struct EndingEntry {
    std::uint16_t morpho = 0;
    std::uint8_t root = 0;
    std::string ending;
};

// How a model derives a root from the lemma's canonical form, unless the lemma gives it.
struct RootRule {
    enum class Kind { Cut, Canonical, FromLemmaOnly } kind = Kind::Cut;
    std::size_t cut = 0;  // letters taken off the end, then `add` appended
    std::string add;
};

struct Model {
    char pos = 0;  // 'n', 'a', 'p', 'v', 'd', 'm'... from "pos:", else the parent's; 0: invariable
    std::vector<EndingEntry> inheritable;  // what a child model starts from
    std::map<int, RootRule> roots;
    std::vector<std::uint8_t> rootsUsed;   // the root numbers its endings use
};

// An invariable word's part of speech, from the note of its line ("conj. coord.", "prép. +
// abl.", "adv.", "interj.", "num.", "pron.", "npr."...): the first rule that fits.
char invariablePos(std::string_view note)
{
    while (!note.empty() && note.front() == ' ')
        note.remove_prefix(1);
    const auto starts = [note](std::string_view s) { return note.substr(0, s.size()) == s; };
    const auto holds = [note](std::string_view s) { return note.find(s) != std::string_view::npos; };
    if (starts("conj"))
        return 'c';
    if (starts("prép") || starts("prep"))
        return 'r';
    if (starts("adv"))
        return 'd';
    if (starts("interj") || starts("excl"))
        return 'i';
    if (holds("num"))
        return 'm';
    if (starts("pron") || starts("dét"))
        return 'p';
    if (starts("v.") || starts("vb") || starts("subj") || starts("supin"))
        return 'v';
    if (starts("adj"))
        return 'a';
    if (holds("n.") || holds("npr") || holds("indecl") || holds("indécl") || starts("f.") || starts("m."))
        return 'n';
    return 'd';
}

class Reader {
public:
    Reader(LexiconTables& data, std::vector<LexiconProblem>& problems)
        : m_data(data), m_problems(problems) {}

    void models(std::string_view text, const std::string& file);
    void lemmata(std::string_view text, const std::string& file);
    void irregulars(std::string_view text, const std::string& file);
    void pairs(std::string_view text, const std::string& file,
               std::vector<std::pair<std::string, std::string>>& into);
    void glosses(std::string_view text, const std::string& file, bool keepExisting);
    // Lays the lists gathered while reading out flat.
    void finish();

private:
    struct ModelLine {
        std::string_view text;
        std::size_t number;
    };
    void finishModel(const std::string& file);
    bool applyModelLine(Model& model, std::string_view key, std::string_view value,
                        std::vector<std::string_view>& suffixes,
                        std::vector<std::pair<std::vector<std::uint16_t>, std::string_view>>& partial,
                        std::string& why);
    bool parseEndings(std::string_view list, std::vector<std::vector<std::string>>& items,
                      std::string& why) const;
    void report(const std::string& file, std::size_t line, std::string why)
    {
        m_problems.push_back({ProblemKind::MalformedLine, file, line, std::move(why), 0});
    }

    TextSpan keep(std::string_view s)
    {
        const TextSpan span{static_cast<std::uint32_t>(m_data.text.size()), static_cast<std::uint32_t>(s.size())};
        m_data.text.append(s.data(), s.size());
        return span;
    }
    void addStem(const std::string& stem, LemmaId lemma, std::uint8_t root);
    void addModelEndings(const std::vector<EndingEntry>& endings, std::uint32_t model);

    LexiconTables& m_data;
    std::vector<LexiconProblem>& m_problems;
    std::vector<Model> m_models;
    std::unordered_map<std::string, std::uint32_t> m_modelByName;
    StringTable m_spellings;  // numbered as the lemmata
    std::vector<std::vector<LemmaId>> m_byFolded;
    std::vector<std::vector<std::uint32_t>> m_endingPairs;  // by ending
    std::vector<std::vector<LemmaId>> m_irregularLemmata;   // by irregular form
    std::vector<std::vector<Analysis>> m_irregularAnalyses;
    std::map<std::string, std::string, std::less<>> m_constants;
    std::string m_modelName;
    std::size_t m_modelLine = 0;
    std::vector<ModelLine> m_modelLines;
};

bool Reader::parseEndings(std::string_view list, std::vector<std::vector<std::string>>& items,
                          std::string& why) const
{
    items.clear();
    for (const std::string_view item : split(list, ';')) {
        std::string_view prefix;
        std::vector<std::string_view> expanded;
        const std::size_t dollar = item.find('$');
        if (dollar == std::string_view::npos) {
            expanded.push_back(item);
        } else {
            // What stands before a constant goes before each of its endings.
            prefix = item.substr(0, dollar);
            const auto constant = m_constants.find(item.substr(dollar + 1));
            if (constant == m_constants.end()) {
                why = "constante inconnue : " + std::string(item.substr(dollar));
                return false;
            }
            for (const std::string_view c : split(constant->second, ';'))
                expanded.push_back(c);
        }
        for (const std::string_view one : expanded) {
            std::vector<std::string> alternatives;
            for (std::string_view alternative : split(one, ',')) {
                // A trailing digit marks a rare ending; the form is the same.
                while (!alternative.empty() && alternative.back() >= '0' && alternative.back() <= '9')
                    alternative.remove_suffix(1);
                std::string folded;
                if (!foldField(std::string(prefix) + std::string(alternative == "-" ? "" : alternative),
                               folded, why, true))
                    return false;
                alternatives.push_back(std::move(folded));
            }
            items.push_back(std::move(alternatives));
        }
    }
    return true;
}

bool Reader::applyModelLine(Model& model, std::string_view key, std::string_view value,
                            std::vector<std::string_view>& suffixes,
                            std::vector<std::pair<std::vector<std::uint16_t>, std::string_view>>& partial,
                            std::string& why)
{
    if (key == "pos") {
        model.pos = value.empty() ? char(0) : value.front();
        return true;
    }
    if (key == "R") {
        const std::vector<std::string_view> f = split(value, ':');
        int number;
        if (f.size() != 2 || !parseNumber(f[0], number) || number > 255) {
            why = "radical mal écrit";
            return false;
        }
        RootRule rule;
        if (f[1] == "K") {
            rule.kind = RootRule::Kind::Canonical;
        } else if (f[1] == "-") {
            rule.kind = RootRule::Kind::FromLemmaOnly;
        } else {
            const std::vector<std::string_view> cut = split(f[1], ',');
            int letters;
            if (cut.size() != 2 || !parseNumber(cut[0], letters)) {
                why = "radical mal écrit";
                return false;
            }
            rule.cut = static_cast<std::size_t>(letters);
            if (cut[1] != "0" && !foldField(cut[1], rule.add, why, true))
                return false;
        }
        model.roots[number] = rule;
        return true;
    }
    if (key == "abs") {
        std::vector<std::uint16_t> morphos;
        if (!parseMorphos(value, morphos)) {
            why = "liste de morphologies mal écrite";
            return false;
        }
        const std::set<std::uint16_t> gone(morphos.begin(), morphos.end());
        model.inheritable.erase(
            std::remove_if(model.inheritable.begin(), model.inheritable.end(),
                           [&](const EndingEntry& e) { return e.root >= 128 && gone.count(e.morpho); }),
            model.inheritable.end());
        return true;
    }
    if (key == "des" || key == "des+") {
        const std::vector<std::string_view> f = split(value, ':');
        std::vector<std::uint16_t> morphos;
        int root;
        if (f.size() < 3 || !parseMorphos(f[0], morphos) || !parseNumber(f[1], root) || root > 127) {
            why = "désinences mal écrites";
            return false;
        }
        // An ending may itself hold ':' nowhere; rejoin defensively anyway.
        std::string_view list = value.substr(f[0].size() + f[1].size() + 2);
        std::vector<std::vector<std::string>> items;
        if (!parseEndings(list, items, why))
            return false;
        if (key == "des") {
            // Replaces what the parent gave for these morphologies, not what this model
            // gave in an earlier line.
            const std::set<std::uint16_t> replaced(morphos.begin(), morphos.end());
            model.inheritable.erase(
                std::remove_if(model.inheritable.begin(), model.inheritable.end(),
                               [&](const EndingEntry& e) {
                                   return e.root >= 128 && replaced.count(e.morpho);
                               }),
                model.inheritable.end());
        }
        for (std::size_t i = 0; i < morphos.size(); ++i) {
            // A list shorter than its range repeats its last ending.
            const std::vector<std::string>& item = items[std::min(i, items.size() - 1)];
            for (const std::string& ending : item)
                model.inheritable.push_back({morphos[i], static_cast<std::uint8_t>(root), ending});
        }
        return true;
    }
    if (key == "suf") {
        const std::vector<std::string_view> f = split(value, ':');
        std::vector<std::uint16_t> morphos;
        if (f.size() != 2 || !parseMorphos(f[0], morphos)) {
            why = "suffixe mal écrit";
            return false;
        }
        partial.emplace_back(std::move(morphos), f[1]);
        return true;
    }
    if (key == "sufd") {
        suffixes.push_back(value);
        return true;
    }
    why = "clé inconnue : " + std::string(key);
    return false;
}

// Inherited entries carry their root number + 128 while a model is being built, so that
// "des" and "abs" can tell them from the model's own.
void Reader::finishModel(const std::string& file)
{
    if (m_modelName.empty())
        return;
    Model model;
    std::vector<ModelLine> lines = std::move(m_modelLines);
    m_modelLines.clear();
    const std::string name = std::move(m_modelName);
    m_modelName.clear();
    if (m_modelByName.count(name)) {
        report(file, m_modelLine, "modèle déjà défini : " + name);
        return;
    }
    for (auto it = lines.begin(); it != lines.end(); ++it) {
        if (it->text.substr(0, 5) != "pere:")
            continue;
        const auto parent = m_modelByName.find(std::string(it->text.substr(5)));
        if (parent == m_modelByName.end()) {
            report(file, it->number, "modèle parent inconnu : " + std::string(it->text.substr(5)));
        } else {
            const Model& p = m_models[parent->second];
            model.roots = p.roots;
            model.pos = p.pos;
            for (EndingEntry e : p.inheritable) {
                e.root = static_cast<std::uint8_t>(e.root + 128);
                model.inheritable.push_back(std::move(e));
            }
        }
        lines.erase(it);
        break;
    }
    std::vector<std::string_view> suffixes;
    std::vector<std::pair<std::vector<std::uint16_t>, std::string_view>> partial;
    for (const ModelLine& line : lines) {
        const std::size_t colon = line.text.find(':');
        std::string why;
        if (colon == std::string_view::npos) {
            report(file, line.number, "ligne sans « : »");
            continue;
        }
        if (!applyModelLine(model, line.text.substr(0, colon), line.text.substr(colon + 1),
                            suffixes, partial, why))
            report(file, line.number, why);
    }
    for (EndingEntry& e : model.inheritable)
        if (e.root >= 128)
            e.root = static_cast<std::uint8_t>(e.root - 128);

    // Suffixes belong to the model that names them: its children start from its bare endings.
    std::vector<EndingEntry> endings = model.inheritable;
    for (const auto& [morphos, suffix] : partial) {
        std::string folded, why;
        if (!foldField(suffix, folded, why, false))
            continue;
        const std::set<std::uint16_t> with(morphos.begin(), morphos.end());
        const std::size_t n = endings.size();
        for (std::size_t i = 0; i < n; ++i)
            if (with.count(endings[i].morpho)) {
                EndingEntry e = endings[i];
                e.ending += folded;
                endings.push_back(std::move(e));
            }
    }
    if (!suffixes.empty()) {
        std::vector<EndingEntry> always;
        for (const std::string_view suffix : suffixes) {
            std::string folded, why;
            if (!foldField(suffix, folded, why, false))
                continue;
            for (EndingEntry e : endings) {
                e.ending += folded;
                always.push_back(std::move(e));
            }
        }
        endings = std::move(always);
    }
    for (const EndingEntry& e : endings)
        if (std::find(model.rootsUsed.begin(), model.rootsUsed.end(), e.root) == model.rootsUsed.end())
            model.rootsUsed.push_back(e.root);
    // A model that names no part of speech has the one its endings show: a mood, a gender,
    // a case; an invariable word's is in its lemma's note.
    if (model.pos == 0)
        for (const EndingEntry& e : endings) {
            if (e.morpho >= 121 && e.morpho <= 415 && e.morpho != 411 && e.morpho != 412 && e.morpho != 413
                && e.morpho != 414)
                model.pos = 'v';
            else if (e.morpho >= 13 && e.morpho <= 120 && model.pos != 'v')
                model.pos = 'a';
            else if (e.morpho >= 1 && e.morpho <= 12 && model.pos == 0)
                model.pos = 'n';
        }
    const auto id = static_cast<std::uint32_t>(m_models.size());
    m_modelByName.emplace(name, id);
    m_models.push_back(std::move(model));
    addModelEndings(endings, id);
}

void Reader::addModelEndings(const std::vector<EndingEntry>& endings, std::uint32_t model)
{
    if (m_data.modelEndingStart.empty())
        m_data.modelEndingStart.push_back(0);
    for (const EndingEntry& e : endings) {
        const std::uint32_t ending = m_data.endingNames.intern(e.ending);
        if (ending == m_endingPairs.size())
            m_endingPairs.emplace_back();
        std::vector<std::uint32_t>& pairs = m_endingPairs[ending];
        const std::uint32_t key = (model << 8) | e.root;
        const auto at = std::lower_bound(pairs.begin(), pairs.end(), key);
        if (at == pairs.end() || *at != key)
            pairs.insert(at, key);
        m_data.longestEnding = std::max(m_data.longestEnding, static_cast<std::uint32_t>(e.ending.size()));
        ModelEnding flat;
        flat.ending = ending;
        flat.morpho = e.morpho;
        flat.root = e.root;
        m_data.modelEndings.push_back(flat);
    }
    m_data.modelEndingStart.push_back(static_cast<std::uint32_t>(m_data.modelEndings.size()));
}

void Reader::addStem(const std::string& stem, LemmaId lemma, std::uint8_t root)
{
    const std::uint32_t name = m_data.stemNames.intern(stem);
    if (name == m_data.stemHead.size())
        m_data.stemHead.push_back(kNoLink);
    // Keep one link per (lemma, root): canonical variants often give the same root.
    for (std::uint32_t k = m_data.stemHead[name]; k != kNoLink; k = m_data.stems[k].next)
        if (m_data.stems[k].lemma == lemma && m_data.stems[k].root == root)
            return;
    StemLink link;
    link.lemma = lemma;
    link.next = m_data.stemHead[name];
    link.root = root;
    m_data.stems.push_back(link);
    m_data.stemHead[name] = static_cast<std::uint32_t>(m_data.stems.size() - 1);
}

void Reader::models(std::string_view text, const std::string& file)
{
    forEachLine(text, true, [&](std::string_view line, std::size_t number) {
        if (line.front() == '$') {
            const std::size_t eq = line.find('=');
            if (eq == std::string_view::npos || eq < 2)
                report(file, number, "constante mal écrite");
            else
                m_constants[std::string(line.substr(1, eq - 1))] = std::string(line.substr(eq + 1));
            return;
        }
        if (line.substr(0, 7) == "modele:") {
            finishModel(file);
            m_modelName = std::string(line.substr(7));
            m_modelLine = number;
            if (m_modelName.empty())
                report(file, number, "modèle sans nom");
            return;
        }
        if (m_modelName.empty()) {
            report(file, number, "ligne hors d'un modèle");
            return;
        }
        m_modelLines.push_back({line, number});
    });
    finishModel(file);
}

void Reader::lemmata(std::string_view text, const std::string& file)
{
    // Growing the tables as lines come would rehash them a dozen times.
    const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    m_data.stemNames.reserve(m_data.stemNames.size() + lines * 2);
    m_spellings.reserve(m_spellings.size() + lines);
    m_data.foldedNames.reserve(m_data.foldedNames.size() + lines);
    m_data.stems.reserve(m_data.stems.size() + lines * 3);
    m_data.lemmata.reserve(m_data.lemmata.size() + lines);
    // Kept across lines: a fresh vector per line and per field was most of the reading time.
    std::vector<std::string_view> f, forms, alternatives;
    std::string stem;
    forEachLine(text, true, [&](std::string_view line, std::size_t number) {
        splitInto(line, '|', f);
        if (f.size() != 6) {
            report(file, number, "six champs attendus, séparés par « | »");
            return;
        }
        const std::size_t eq = f[0].find('=');
        const std::string_view key = f[0].substr(0, eq);
        int homograph;
        const std::string_view bare = splitHomograph(key, homograph);
        std::string folded, why;
        if (!foldField(bare, folded, why, false)) {
            report(file, number, why);
            return;
        }
        const auto model = m_modelByName.find(std::string(f[1]));
        if (model == m_modelByName.end()) {
            report(file, number, "modèle inconnu : " + std::string(f[1]));
            return;
        }
        int frequency = 0;
        if (!f[5].empty() && !parseNumber(f[5], frequency)) {
            report(file, number, "fréquence mal écrite");
            return;
        }
        std::vector<std::string> canonical;
        splitInto(eq == std::string_view::npos ? bare : f[0].substr(eq + 1), ',', forms);
        for (const std::string_view form : forms) {
            std::string c;
            int ignored;
            if (!foldField(splitHomograph(form, ignored), c, why, false)) {
                report(file, number, why);
                return;
            }
            canonical.push_back(std::move(c));
        }
        // Roots 1 and 2 given by the lemma override the model's rules; "-" means none.
        std::vector<std::string> given[2];
        bool givenNone[2] = {false, false};
        for (int r = 0; r < 2; ++r) {
            const std::string_view field = f[2 + r];
            if (field == "-") {
                givenNone[r] = true;
                continue;
            }
            if (field.empty())
                continue;
            splitInto(field, ',', alternatives);
            for (const std::string_view alternative : alternatives) {
                std::string root;
                if (!foldField(alternative, root, why, false)) {
                    report(file, number, why);
                    return;
                }
                given[r].push_back(std::move(root));
            }
        }
        std::string spelling = withoutQuantities(key);
        if (m_spellings.find(spelling) != StringTable::npos)
            return;  // the extension repeats lemmata of the main list: the first stands
        const auto id = static_cast<LemmaId>(m_data.lemmata.size());
        const Model& m = m_models[model->second];
        for (const int r : m.rootsUsed) {
            if (r == 1 || r == 2) {
                if (givenNone[r - 1])
                    continue;
                if (!given[r - 1].empty()) {
                    for (const std::string& root : given[r - 1])
                        addStem(root, id, static_cast<std::uint8_t>(r));
                    continue;
                }
            }
            const auto rule = m.roots.find(r);
            if (rule == m.roots.end() || rule->second.kind == RootRule::Kind::FromLemmaOnly)
                continue;
            for (const std::string& c : canonical) {
                if (rule->second.kind == RootRule::Kind::Canonical) {
                    addStem(c, id, static_cast<std::uint8_t>(r));
                } else if (rule->second.cut <= c.size()) {
                    stem.assign(c, 0, c.size() - rule->second.cut);
                    stem += rule->second.add;
                    addStem(stem, id, static_cast<std::uint8_t>(r));
                }
            }
        }
        LemmaRecord lemma;
        lemma.spelling = keep(spelling);
        lemma.folded = keep(folded);
        lemma.homograph = static_cast<std::uint16_t>(std::min(homograph, 65535));
        lemma.frequency = static_cast<std::uint32_t>(frequency);
        lemma.closedClass = closedClassIndication(f[4]) ? 1 : 0;
        m_spellings.intern(spelling);
        const std::uint32_t name = m_data.foldedNames.intern(folded);
        if (name == m_byFolded.size())
            m_byFolded.emplace_back();
        m_byFolded[name].push_back(id);
        m_data.lemmata.push_back(lemma);
        m_data.lemmaModel.push_back(model->second);
        m_data.lemmaPos.push_back(m.pos != 0 ? m.pos : invariablePos(f[4]));
    });
}

void Reader::irregulars(std::string_view text, const std::string& file)
{
    forEachLine(text, true, [&](std::string_view line, std::size_t number) {
        const std::vector<std::string_view> f = split(line, ':');
        std::vector<std::uint16_t> morphos;
        if (f.size() != 3 || !parseMorphos(f[2], morphos)) {
            report(file, number, "forme:lemme:morphologies attendu");
            return;
        }
        std::string_view form = f[0];
        const bool exclusive = !form.empty() && form.back() == '*';
        if (exclusive)
            form.remove_suffix(1);
        std::string folded, lemmaFolded, why;
        int homograph;
        if (!foldField(form, folded, why, false)
            || !foldField(splitHomograph(f[1], homograph), lemmaFolded, why, false)) {
            report(file, number, why);
            return;
        }
        const std::uint32_t named = m_data.foldedNames.find(lemmaFolded);
        if (named == StringTable::npos)
            return;  // a lemma of a list not read (the extension)
        for (const LemmaId id : m_byFolded[named]) {
            if (m_data.lemmata[id].homograph != homograph)
                continue;
            const std::uint32_t irregular = m_data.irregularForms.intern(folded);
            if (irregular == m_irregularLemmata.size()) {
                m_irregularLemmata.emplace_back();
                m_irregularAnalyses.emplace_back();
            }
            std::vector<LemmaId>& lemmata = m_irregularLemmata[irregular];
            if (std::find(lemmata.begin(), lemmata.end(), id) == lemmata.end())
                lemmata.push_back(id);
            std::vector<Analysis>& readings = m_irregularAnalyses[irregular];
            for (const std::uint16_t morpho : morphos)
                if (std::find(readings.begin(), readings.end(), Analysis{id, morpho}) == readings.end())
                    readings.push_back({id, morpho});
            if (exclusive)
                for (const std::uint16_t morpho : morphos)
                    m_data.replacedMorphos.push_back((std::uint64_t(id) << 16) | morpho);
            break;
        }
    });
}

void Reader::pairs(std::string_view text, const std::string& file,
                   std::vector<std::pair<std::string, std::string>>& into)
{
    forEachLine(text, true, [&](std::string_view line, std::size_t number) {
        const std::vector<std::string_view> f = split(line, ':');
        std::string a, b, why;
        if (f.size() != 2) {
            report(file, number, "deux formes séparées par « : » attendues");
            return;
        }
        if (!foldField(f[0], a, why, false) || !foldField(f[1], b, why, false)) {
            report(file, number, why);
            return;
        }
        into.emplace_back(std::move(a), std::move(b));
    });
}

void Reader::glosses(std::string_view text, const std::string& file, bool keepExisting)
{
    bool first = true;
    forEachLine(text, false, [&](std::string_view line, std::size_t number) {
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            // The first line names the language of the glosses.
            if (!first)
                report(file, number, "lemme:traduction attendu");
            first = false;
            return;
        }
        first = false;
        const std::uint32_t spelling = m_spellings.find(line.substr(0, colon));
        if (spelling == StringTable::npos)
            return;
        TextSpan& gloss = m_data.lemmata[spelling].gloss;
        if (!keepExisting || gloss.length == 0)
            gloss = keep(line.substr(colon + 1));
    });
}

// Each list of lists as one array and its starts.
template <typename T>
void flatten(std::vector<std::vector<T>>& lists, std::vector<std::uint32_t>& starts, std::vector<T>& items)
{
    starts.clear();
    items.clear();
    starts.reserve(lists.size() + 1);
    for (const std::vector<T>& list : lists) {
        starts.push_back(static_cast<std::uint32_t>(items.size()));
        items.insert(items.end(), list.begin(), list.end());
    }
    starts.push_back(static_cast<std::uint32_t>(items.size()));
    lists.clear();
}

void Reader::finish()
{
    flatten(m_byFolded, m_data.byFoldedStart, m_data.byFolded);
    flatten(m_endingPairs, m_data.endingPairStart, m_data.endingPairs);
    flatten(m_irregularLemmata, m_data.irregularStart, m_data.irregularLemmata);
    m_data.irregularAnalysisStart.assign(1, 0);
    for (const std::vector<Analysis>& readings : m_irregularAnalyses) {
        for (const Analysis& a : readings) {
            m_data.irregularAnalysisLemma.push_back(a.lemma);
            m_data.irregularAnalysisMorpho.push_back(a.morpho);
        }
        m_data.irregularAnalysisStart.push_back(static_cast<std::uint32_t>(m_data.irregularAnalysisLemma.size()));
    }
    m_irregularAnalyses.clear();
    if (m_data.modelEndingStart.empty())
        m_data.modelEndingStart.push_back(0);
    std::sort(m_data.replacedMorphos.begin(), m_data.replacedMorphos.end());
    m_data.replacedMorphos.erase(std::unique(m_data.replacedMorphos.begin(), m_data.replacedMorphos.end()),
                                 m_data.replacedMorphos.end());
}

} // namespace

void readLexicon(LexiconTables& data, const LexiconTexts& texts, const LexiconFileNames& names,
                 std::vector<LexiconProblem>& problems)
{
    Reader reader(data, problems);
    reader.models(texts.models, names.models);
    reader.lemmata(texts.lemmata, names.lemmata);
    if (!texts.extensionLemmata.empty())
        reader.lemmata(texts.extensionLemmata, names.extensionLemmata);
    reader.irregulars(texts.irregulars, names.irregulars);
    reader.pairs(texts.assimilations, names.assimilations, data.assimilations);
    reader.pairs(texts.contractions, names.contractions, data.contractions);
    reader.glosses(texts.glosses, names.glosses, false);
    if (!texts.extensionGlosses.empty())
        reader.glosses(texts.extensionGlosses, names.extensionGlosses, true);
    reader.finish();
}

} // namespace quorvex::lexicon
