#include "concordance/MoodRules.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <utility>

namespace quorvex::mood {

namespace {

using lexicon::VerbForm;

// The little words, folded (v as u, j as i), and what each may do. The sections are those of
// Allen and Greenough's "New Latin Grammar".
struct CueWord {
    std::string_view form;
    std::uint16_t cues;
};

constexpr std::uint16_t kGovernsNegative = kGoverns | kNegative;
constexpr std::uint16_t kNegativeCoordinator = kNegative | kCoordinator;
constexpr std::uint16_t kRelativeStatement = kRelative | kStatement;

constexpr CueWord kCueWords[] = {
    // Purpose and result (§§ 531, 537), quin and quominus (§§ 558, 558 b), wishes (§ 441),
    // concessions (§ 527), conditional comparisons (§ 524): the subjunctive.
    {"ut", kGoverns}, {"uti", kGoverns}, {"ne", kGovernsNegative | kMakesIndefinite},
    {"neue", kGovernsNegative | kCoordinator}, {"neu", kGovernsNegative | kCoordinator},
    {"quin", kGoverns}, {"quominus", kGoverns}, {"utinam", kGoverns}, {"licet", kGoverns},
    {"quamuis", kGoverns}, {"quasi", kGoverns}, {"tamquam", kGoverns}, {"tanquam", kGoverns},
    {"dummodo", kGoverns},
    // "Until", of what is awaited (§ 553).
    {"dum", kUntil}, {"donec", kUntil}, {"quoad", kUntil}, {"quoadusque", kUntil},
    // "Before", of what is awaited (§ 551).
    {"antequam", kUntil}, {"priusquam", kUntil},
    // Conditions (§§ 514-516).
    {"si", kConditional | kMakesIndefinite}, {"nisi", kConditional | kMakesIndefinite},
    {"ni", kConditional | kMakesIndefinite}, {"sin", kConditional | kMakesIndefinite},
    {"etsi", kConditional}, {"etiamsi", kConditional}, {"tametsi", kConditional}, {"quodsi", kConditional},
    {"siue", kConditional}, {"seu", kConditional},
    // Relatives of any one at all, conditional in sense (§ 519).
    {"quicumque", kGeneralizing}, {"quaecumque", kGeneralizing}, {"quodcumque", kGeneralizing},
    {"cuiuscumque", kGeneralizing}, {"cuicumque", kGeneralizing}, {"quemcumque", kGeneralizing},
    {"quamcumque", kGeneralizing}, {"quocumque", kGeneralizing}, {"quacumque", kGeneralizing},
    {"quorumcumque", kGeneralizing}, {"quarumcumque", kGeneralizing}, {"quibuscumque", kGeneralizing},
    {"quoscumque", kGeneralizing}, {"quascumque", kGeneralizing}, {"quisquis", kGeneralizing},
    {"quidquid", kGeneralizing}, {"quicquid", kGeneralizing}, {"ubicumque", kGeneralizing},
    {"quotquot", kGeneralizing}, {"quotiescumque", kGeneralizing}, {"quandocumque", kGeneralizing},
    {"utcumque", kGeneralizing}, {"undecumque", kGeneralizing},
    // Time (§§ 543, 545-549).
    {"cum", kTemporal | kCum}, {"quum", kTemporal}, {"ubi", kTemporal | kQuestionWord},
    {"postquam", kTemporal}, {"posteaquam", kTemporal}, {"simulac", kTemporal}, {"simulatque", kTemporal},
    {"quando", kTemporal | kQuestionWord},
    // Relatives (§§ 303, 519).
    {"qui", kRelative}, {"quae", kRelative}, {"quod", kRelativeStatement}, {"quem", kRelative},
    {"quam", kRelative}, {"quos", kRelative}, {"quas", kRelative}, {"cuius", kRelative},
    {"cui", kRelative}, {"quibus", kRelative}, {"quo", kRelative | kQuestionWord}, {"qua", kRelative},
    {"quorum", kRelative}, {"quarum", kRelative},
    // Questions (§§ 332-333, 444, 574).
    {"quis", kInterrogative}, {"quid", kInterrogative}, {"cur", kInterrogative}, {"quare", kInterrogative},
    {"quomodo", kInterrogative}, {"quonam", kInterrogative}, {"quidnam", kInterrogative},
    {"quisnam", kInterrogative}, {"numquid", kInterrogative}, {"num", kInterrogative | kMakesIndefinite},
    {"nonne", kInterrogative}, {"utrum", kInterrogative}, {"an", kInterrogative}, {"ecquis", kInterrogative},
    {"ecquid", kInterrogative},
    {"qualis", kInterrogative}, {"quale", kInterrogative}, {"quales", kInterrogative},
    {"qualem", kInterrogative}, {"quantus", kInterrogative}, {"quanta", kInterrogative}, {"quot", kInterrogative},
    {"unde", kQuestionWord}, {"quantum", kQuestionWord},
    {"quamdiu", kQuestionWord}, {"quousque", kQuestionWord},
    // "That" after a verb of saying or knowing (§ 592; the Vulgate's "scio quia").
    {"quia", kStatement}, {"quoniam", kStatement},
    // Negatives (§ 450).
    {"nemo", kNegative}, {"nemini", kNegative}, {"neminem", kNegative}, {"nihil", kNegative},
    {"nil", kNegative}, {"nec", kNegativeCoordinator}, {"neque", kNegativeCoordinator},
    {"nullus", kNegative}, {"nulla", kNegative}, {"nullum", kNegative}, {"nulli", kNegative},
    {"nullo", kNegative}, {"nullam", kNegative}, {"nullos", kNegative}, {"nullas", kNegative},
    {"nullis", kNegative}, {"nullius", kNegative}, {"numquam", kNegative}, {"nusquam", kNegative},
    // Wishing, letting, needing: the subjunctive without "ut" (§ 565).
    {"uis", kWish}, {"uultis", kWish}, {"uult", kWish}, {"uolo", kWish}, {"uolumus", kWish},
    {"uolunt", kWish}, {"nolo", kWish}, {"mauis", kWish}, {"malo", kWish}, {"sine", kWish},
    {"sinite", kWish}, {"fac", kWish}, {"oportet", kWish}, {"necesse", kWish},
    // Verbs joined as equals share their mood.
    {"et", kCoordinator}, {"ac", kCoordinator}, {"atque", kCoordinator}, {"aut", kCoordinator},
    {"uel", kCoordinator}, {"sed", kCoordinator},
    // What may stand between a verb of saying and its "quia".
    {"enim", kParticle}, {"autem", kParticle}, {"ergo", kParticle}, {"uero", kParticle},
    {"igitur", kParticle}, {"nam", kParticle}, {"tamen", kParticle}, {"quidem", kParticle},
    {"itaque", kParticle}, {"forte", kParticle}, {"mihi", kParticle}, {"tibi", kParticle}, {"sibi", kParticle},
    {"nobis", kParticle}, {"uobis", kParticle}, {"ei", kParticle}, {"eis", kParticle}, {"illi", kParticle},
    {"illis", kParticle}, {"me", kParticle}, {"te", kParticle}, {"nos", kParticle}, {"uos", kParticle},
};

std::uint16_t cuesOf(std::string_view folded)
{
    static const std::unordered_map<std::string_view, std::uint16_t> byForm = [] {
        std::unordered_map<std::string_view, std::uint16_t> map;
        for (const CueWord& w : kCueWords)
            map.emplace(w.form, w.cues);
        return map;
    }();
    const auto at = byForm.find(folded);
    return at == byForm.end() ? 0 : at->second;
}

// A verb of knowing, thinking, saying or asking (§§ 459, 574, 579), as the lexicon names it.
constexpr std::string_view kKnowingVerbs[] = {
    "scio",    "nescio",   "ignoro",  "cognosco", "agnosco", "nosco",   "intellego", "sentio",
    "uideo",   "audio",    "memini",  "credo",    "puto",    "existimo", "arbitror", "dico2",
    "aio",     "nego",     "nuntio",  "adnuntio", "testor",  "testificor", "perhibeo", "confiteor",
    "lego",    "doceo",    "ostendo", "interrogo", "rogo",   "quaero",  "miror",     "cogito",
    "scribo",  "respondeo", "disco",
};

constexpr std::uint16_t kSubordinating =
    kGoverns | kUntil | kConditional | kGeneralizing | kTemporal | kRelative | kInterrogative | kStatement;

// How far back a verb's governing word is looked for.
constexpr std::size_t kReach = 8;

std::uint8_t personBit(const VerbForm& v)
{
    if (v.person == 0 || v.number == 0)
        return 0;
    return static_cast<std::uint8_t>(1u << ((v.person - 1) * 2 + (v.number - 1)));
}

bool finite(const VerbForm& v)
{
    return v.mood == VerbForm::Mood::Indicative || v.mood == VerbForm::Mood::Subjunctive
        || v.mood == VerbForm::Mood::Imperative;
}

VerbMood moodOf(const VerbForm& v)
{
    switch (v.mood) {
    case VerbForm::Mood::Indicative:
        return v.tense == VerbForm::Tense::Future || v.tense == VerbForm::Tense::FuturePerfect ? VerbMood::Future
                                                                                               : VerbMood::Indicative;
    case VerbForm::Mood::Subjunctive: return VerbMood::Subjunctive;
    case VerbForm::Mood::Imperative: return VerbMood::Imperative;
    default: return VerbMood::None;
    }
}

// The two readings a homograph joins: the indicative's tense, and the subjunctive's.
std::pair<VerbForm::Tense, VerbForm::Tense> tensesOf(Homograph h)
{
    if (h == Homograph::FutureOrPresentSubjunctive)
        return {VerbForm::Tense::Future, VerbForm::Tense::Present};
    return {VerbForm::Tense::FuturePerfect, VerbForm::Tense::Perfect};
}

class SentenceReader {
public:
    SentenceReader(const std::vector<const FormFacts*>& words, const std::vector<std::uint8_t>& commaBefore,
                   bool question, std::vector<Verdict>& verdicts)
        : m_words(words), m_commaBefore(commaBefore), m_question(question), m_verdicts(verdicts)
    {
    }

    Verdict decide(std::size_t at) const
    {
        const FormFacts& verb = *m_words[at];
        const bool perfect = verb.homograph == Homograph::FuturePerfectOrPerfectSubjunctive;
        // "ne dixeris", "nemini dixeritis": a prohibition is a perfect subjunctive of the
        // second person (§ 450), unless the negative stands in a condition ("si nihil dixeris").
        const bool second = (verb.homographPerson & 0x0C) != 0;
        if (perfect && second) {
            for (std::size_t j = at, seen = 0; j-- > 0 && seen < 4; ++seen) {
                if (!present(j))
                    continue;
                const FormFacts& w = *m_words[j];
                if (w.cues & kNegative) {
                    const Verdict inCondition = governed(j, at, perfect, true);
                    return inCondition == Verdict::None ? Verdict::Subjunctive : inCondition;
                }
                if ((w.cues & kSubordinating) || w.mood != VerbMood::None)
                    break;  // the negative would be another clause's
            }
        }
        return governed(at, at, perfect, false);
    }

private:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    bool present(std::size_t j) const { return j < m_words.size() && m_words[j] != nullptr; }

    // "cum" at j: the conjunction, unless an ablative follows it (the preposition).
    bool conjunctionCum(std::size_t j, std::size_t verb) const
    {
        return j + 1 == verb || (present(j + 1) && !m_words[j + 1]->ablative);
    }

    // Where "quis" or "quid" at j is made indefinite: "si", "nisi", "ne" or "num" a few
    // words before ("si mortiferum quid biberint"), or npos.
    std::size_t indefiniteMaker(std::size_t j) const
    {
        for (std::size_t k = j, seen = 0; k-- > 0 && seen < 3; ++seen) {
            if (!present(k))
                continue;
            if (m_words[k]->cues & kMakesIndefinite)
                return k;
            if ((m_words[k]->cues & kSubordinating) || m_words[k]->mood != VerbMood::None)
                return npos;
        }
        return npos;
    }

    // The word that opens the clause of the finite verb at j (qui, si, cum...), or npos when
    // nothing does within reach.
    std::size_t clauseOpening(std::size_t j) const
    {
        for (std::size_t k = j, seen = 0; k-- > 0 && seen < kReach; ++seen) {
            if (!present(k))
                continue;
            const FormFacts& w = *m_words[k];
            if (w.cues & kCum) {
                if (conjunctionCum(k, j))
                    return k;
                continue;
            }
            if (w.cues & (kInterrogative | kRelative)) {
                const std::size_t maker = indefiniteMaker(k);
                return maker == npos ? k : maker;
            }
            if (w.cues & kSubordinating)
                return k;
            if (w.mood != VerbMood::None)
                return npos;
        }
        return npos;
    }

    bool onlyParticlesBetween(std::size_t first, std::size_t last) const
    {
        for (std::size_t k = first + 1; k < last; ++k)
            if (!present(k) || !(m_words[k]->cues & kParticle))
                return false;
        return true;
    }

    // The cues of the word before j, past particles ("ne forte cum venero").
    std::uint16_t cuesBefore(std::size_t j) const
    {
        for (std::size_t k = j; k-- > 0;) {
            if (!present(k))
                return 0;
            if (!(m_words[k]->cues & kParticle))
                return m_words[k]->cues;
        }
        return 0;
    }

    // What governs the verb at `verb`, looking back from `from`; `onlyConditions`: a
    // negative was met, and only a word that makes a condition or a relative of it, in the
    // negative's clause (no comma between), speaks.
    Verdict governed(std::size_t from, std::size_t verb, bool perfect, bool onlyConditions) const
    {
        std::size_t skipped = 0;
        for (std::size_t j = from, seen = 0; j-- > 0;) {
            if (++seen > kReach || (onlyConditions && m_commaBefore[j + 1]))
                return Verdict::None;
            if (!present(j))
                continue;
            const FormFacts& w = *m_words[j];
            const std::uint16_t c = w.cues;
            if (c & kCum) {
                if (!conjunctionCum(j, verb))
                    continue;
                return opened(j, verb, perfect, true);
            }
            if (onlyConditions) {
                if (c & (kConditional | kGeneralizing | kTemporal | kRelative))
                    return opened(j, verb, perfect, false);
                if ((c & kSubordinating) || (c & kCoordinator) || w.mood != VerbMood::None)
                    return Verdict::None;
                continue;
            }
            if ((c & kWish) && onlyParticlesBetween(j, from))
                return Verdict::Subjunctive;  // "vultis dimittam", "sine ejiciam" (§ 565)
            if ((c & (kInterrogative | kRelative)) && indefiniteMaker(j) != npos)
                continue;  // "si quis", "si cujus": anyone; the "si" governs
            if (c & kInterrogative)
                return Verdict::Subjunctive;  // direct (§ 444) or indirect (§ 574)
            if (m_question && (c & (kRelative | kQuestionWord)) && !(c & kStatement))
                return Verdict::Subjunctive;  // "cui similes dicam ... ?" (§ 444)
            if ((c & (kStatement | kRelative)) && afterKnowing(j)) {
                // "cognoverunt quoniam dixerit": the thought of another (§ 592); "sciunt quae
                // dixerit": an indirect question (§ 574). A first person in -am after "quia"
                // may as well be a future.
                if (c & kStatement)
                    return perfect ? Verdict::Subjunctive : Verdict::None;
                return Verdict::Subjunctive;
            }
            if ((c & kStatement) && !(c & kRelative))
                return perfect ? Verdict::None : Verdict::Indicative;  // "because", of a fact (§ 540)
            if (c & kGoverns)
                return Verdict::Subjunctive;
            if (c & kUntil)
                return perfect ? Verdict::None : Verdict::Subjunctive;
            if (c & (kConditional | kGeneralizing | kTemporal | kRelative))
                return opened(j, verb, perfect, false);
            if (c & kCoordinator)
                return coordinated(j, verb, perfect);
            if (c & kParticle)
                continue;
            if (w.mood != VerbMood::None) {
                // Another clause's verb: a clause set inside this one ("ut omne quod dedit
                // mihi non perdam") is passed over; a main verb ends the search.
                const std::size_t opening = clauseOpening(j);
                if (opening == npos || ++skipped > 2)
                    break;
                j = opening;
            }
        }
        if (onlyConditions)
            return Verdict::None;
        return mainClause(perfect);
    }

    // A verb in a main clause: a first person in -am is a future, which a deliberative
    // question (§ 444) asks with an interrogative word; a form in -erit may be either.
    Verdict mainClause(bool perfect) const
    {
        if (perfect || m_question)
            return Verdict::None;
        return Verdict::Indicative;
    }

    // Whether the word before `j` (past particles and pronouns) is a verb of knowing or saying.
    bool afterKnowing(std::size_t j) const
    {
        for (std::size_t k = j, seen = 0; k-- > 0 && seen < 3; ++seen) {
            if (!present(k))
                return false;
            if (m_words[k]->cues & kParticle)
                continue;
            return m_words[k]->knowing;
        }
        return false;
    }

    // The mood of the first verb after the clause of `verb` that stands for another clause,
    // before any word that opens a clause of its own.
    VerbMood mainVerb(std::size_t verb) const
    {
        for (std::size_t k = verb + 1; k < m_words.size(); ++k) {
            if (!present(k))
                continue;
            const FormFacts& w = *m_words[k];
            if (w.cues & kSubordinating)
                break;
            if (w.homograph == Homograph::None && w.mood != VerbMood::None && w.mood != VerbMood::Mixed)
                return w.mood;
        }
        return VerbMood::None;
    }

    // A clause of condition, time or relative opened at `opening`. Set inside a clause of
    // purpose or fear ("ut si quis manducaverit"), it takes the subjunctive (§ 593).
    // Otherwise its mood follows the main verb: a future or a command there makes the more
    // vivid future (§ 516 a-c, § 519), the future (perfect) indicative; so does a wish or
    // command in the subjunctive ("qui maledixerit, moriatur"), except for a first person in
    // -am, which a subjunctive main verb makes the less vivid future (§ 516 b); inside a
    // "quia" clause, a subjunctive draws it into its mood (§ 593). "cum" with a present or
    // past main verb gives a cause (§ 549) for -am; for -erit it may as well say "whenever".
    // No main verb in sight: a form in -erit is the future perfect the clause needs.
    Verdict opened(std::size_t opening, std::size_t verb, bool perfect, bool cum) const
    {
        const std::uint16_t before = cuesBefore(opening);
        if (before & kGoverns)
            return Verdict::Subjunctive;
        switch (mainVerb(verb)) {
        case VerbMood::Subjunctive:
            return !perfect || ((before & kStatement) && !(before & kRelative)) ? Verdict::Subjunctive
                                                                                 : Verdict::Indicative;
        case VerbMood::Future:
        case VerbMood::Imperative: return Verdict::Indicative;
        case VerbMood::Indicative:
            if (cum)
                return perfect ? Verdict::None : Verdict::Subjunctive;
            return perfect ? Verdict::Indicative : Verdict::None;
        default: return perfect ? Verdict::Indicative : Verdict::None;
        }
    }

    // "surgam et ibo ... et dicam": a verb joined to an earlier one of its person and number
    // takes that one's mood.
    Verdict coordinated(std::size_t conjunction, std::size_t verb, bool perfect) const
    {
        const std::uint8_t person = m_words[verb]->homographPerson;
        for (std::size_t k = conjunction; k-- > 0;) {
            if (!present(k))
                continue;
            const FormFacts& w = *m_words[k];
            if (w.mood == VerbMood::None || !(w.persons & person))
                continue;
            if (w.homograph != Homograph::None)
                return m_verdicts[k];
            switch (w.mood) {
            case VerbMood::Subjunctive: return Verdict::Subjunctive;
            case VerbMood::Future: return Verdict::Indicative;
            default: return Verdict::None;
            }
        }
        return mainClause(perfect);
    }

    const std::vector<const FormFacts*>& m_words;
    const std::vector<std::uint8_t>& m_commaBefore;
    bool m_question;
    std::vector<Verdict>& m_verdicts;
};

} // namespace

std::vector<lexicon::LemmaId> knowingVerbs(const lexicon::Lexicon& lexicon)
{
    std::vector<lexicon::LemmaId> ids;
    for (const std::string_view name : kKnowingVerbs)
        for (const lexicon::LemmaId id : lexicon.lemmataNamed(name))
            if (lexicon.partOfSpeech(id) == 'v')
                ids.push_back(id);
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

FormFacts factsOf(std::string_view folded, const std::vector<lexicon::Analysis>& readings,
                  const std::vector<double>& weight, const lexicon::Lexicon& lexicon,
                  const lexicon::TagModel& tags, const std::vector<lexicon::LemmaId>& knowing)
{
    FormFacts facts;
    facts.cues = cuesOf(folded);
    double total = 0, finiteWeight = 0, knowingWeight = 0;
    std::array<double, 6> byMood{};
    for (std::size_t r = 0; r < readings.size(); ++r) {
        const lexicon::Analysis& a = readings[r];
        total += weight[r];
        const bool verb = lexicon.partOfSpeech(a.lemma) == 'v';
        const VerbForm& v = verb ? tags.verbForm(a.morpho) : VerbForm();
        if (verb && std::binary_search(knowing.begin(), knowing.end(), a.lemma))
            knowingWeight += weight[r];
        if (tags.morphoName(a.morpho).find("ablatif") != std::string::npos)
            facts.ablative = true;
        if (!finite(v))
            continue;
        finiteWeight += weight[r];
        byMood[static_cast<std::size_t>(moodOf(v))] += weight[r];
        facts.persons |= personBit(v);
    }
    // What the form mostly is: a form read now and then as a verb is no verb to the rules.
    if (total > 0 && finiteWeight >= 0.9 * total) {
        facts.mood = VerbMood::Mixed;
        for (std::size_t m = 0; m < byMood.size(); ++m)
            if (byMood[m] >= 0.9 * finiteWeight)
                facts.mood = static_cast<VerbMood>(m);
    }
    facts.knowing = total > 0 && knowingWeight >= 0.5 * total;
    // A homograph: one lemma's reading in each mood, of one person and number.
    for (const Homograph h : {Homograph::FutureOrPresentSubjunctive, Homograph::FuturePerfectOrPerfectSubjunctive}) {
        // Plain names, not a structured binding: C++17 lets no lambda capture one.
        const std::pair<VerbForm::Tense, VerbForm::Tense> tenses = tensesOf(h);
        const VerbForm::Tense indicativeTense = tenses.first, subjunctiveTense = tenses.second;
        for (const lexicon::Analysis& a : readings) {
            const VerbForm& v = tags.verbForm(a.morpho);
            if (lexicon.partOfSpeech(a.lemma) != 'v' || v.mood != VerbForm::Mood::Indicative || v.tense != indicativeTense)
                continue;
            const bool pair = std::any_of(readings.begin(), readings.end(), [&](const lexicon::Analysis& b) {
                const VerbForm& w = tags.verbForm(b.morpho);
                return b.lemma == a.lemma && w.mood == VerbForm::Mood::Subjunctive && w.tense == subjunctiveTense
                    && w.person == v.person && w.number == v.number;
            });
            if (pair && personBit(v) != 0) {
                facts.homograph = h;
                facts.homographPerson = personBit(v);
                return facts;
            }
        }
    }
    return facts;
}

void decide(const std::vector<const FormFacts*>& sentence, const std::vector<std::uint8_t>& commaBefore,
            bool question, std::vector<Verdict>& verdicts)
{
    verdicts.assign(sentence.size(), Verdict::None);
    const SentenceReader reader(sentence, commaBefore, question, verdicts);
    for (std::size_t i = 0; i < sentence.size(); ++i)
        if (sentence[i] && sentence[i]->homograph != Homograph::None)
            verdicts[i] = reader.decide(i);
}

bool rulesOut(Verdict verdict, const FormFacts& facts, const VerbForm& reading)
{
    if (verdict == Verdict::None || facts.homograph == Homograph::None || personBit(reading) != facts.homographPerson)
        return false;
    const auto [indicativeTense, subjunctiveTense] = tensesOf(facts.homograph);
    if (verdict == Verdict::Subjunctive)
        return reading.mood == VerbForm::Mood::Indicative && reading.tense == indicativeTense;
    return reading.mood == VerbForm::Mood::Subjunctive && reading.tense == subjunctiveTense;
}

} // namespace quorvex::mood
