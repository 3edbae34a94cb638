#include "lexicon/ReadingRules.h"

namespace quorvex::lexicon {

// Morphologies, as morphos.fr numbers them.
namespace {
constexpr std::uint16_t kGenitiveSingular = 4;
constexpr std::uint16_t kPerfect2Sg = 140, kPerfect2Pl = 143, kPerfect3Pl = 144;
constexpr std::uint16_t kPluperfectSubjunctive1Sg = 175;
constexpr std::uint16_t kPerfectInfinitive = 188;
constexpr std::uint16_t kNominativePlural = 7, kVocativePlural = 8, kAccusativePlural = 9;
constexpr std::uint16_t kPresentSubjunctivePassive3Sg = 287, kImperfectSubjunctivePassive3Sg = 293;

constexpr std::string_view kSyncope = "A&G §181 (perfects in -vi: v dropped, vowels contracted)";
} // namespace

const std::vector<FormRule>& formRules()
{
    static const std::vector<FormRule> rules = [] {
        std::vector<FormRule> r = {
            {"genitive in -i", "A&G §49.b (nouns in -ius, -ium: genitive in a single -i)", "i", "ii",
             kGenitiveSingular, false},
            {"perfect in -ere", "A&G §163.c (third plural perfect in -ere beside -erunt)", "ere", "erunt",
             kPerfect3Pl, false},
            {"short perfect infinitive", kSyncope, "isse", "ivisse,iisse", kPerfectInfinitive, true},
            {"short perfect infinitive", kSyncope, "asse", "avisse", kPerfectInfinitive, true},
            {"short perfect infinitive", kSyncope, "esse", "evisse", kPerfectInfinitive, true},
            {"short perfect", kSyncope, "isti", "ivisti,iisti", kPerfect2Sg, true},
            {"short perfect", kSyncope, "istis", "ivistis,iistis", kPerfect2Pl, true},
            {"short perfect", kSyncope, "asti", "avisti", kPerfect2Sg, true},
            {"short perfect", kSyncope, "astis", "avistis", kPerfect2Pl, true},
        };
        // The pluperfect subjunctive, each person: -issem for -ivissem (or -iissem), -assem
        // for -avissem.
        static constexpr std::string_view endings[] = {"m", "s", "t", "mus", "tis", "nt"};
        static constexpr std::string_view shortI[] = {"issem", "isses", "isset", "issemus", "issetis", "issent"};
        static constexpr std::string_view fullI[] = {"ivissem,iissem", "ivisses,iisses", "ivisset,iisset",
                                                     "ivissemus,iissemus", "ivissetis,iissetis",
                                                     "ivissent,iissent"};
        static constexpr std::string_view shortA[] = {"assem", "asses", "asset", "assemus", "assetis", "assent"};
        static constexpr std::string_view fullA[] = {"avissem", "avisses", "avisset", "avissemus", "avissetis",
                                                     "avissent"};
        for (std::size_t p = 0; p < std::size(endings); ++p) {
            const auto morpho = static_cast<std::uint16_t>(kPluperfectSubjunctive1Sg + p);
            r.push_back({"short pluperfect subjunctive", kSyncope, shortI[p], fullI[p], morpho, true});
            r.push_back({"short pluperfect subjunctive", kSyncope, shortA[p], fullA[p], morpho, true});
        }
        return r;
    }();
    return rules;
}

const std::vector<ListedForm>& listedForms()
{
    static const std::vector<ListedForm> forms = {
        {"loca", "locus", 1, {kNominativePlural, kVocativePlural, kAccusativePlural},
         "A&G §106.b (locus: plural loci, passages, and loca, places)"},
        {"eatur", "eo", 1, {kPresentSubjunctivePassive3Sg}, "A&G §203.a (eo: impersonal passive itur, eatur, iretur)"},
        {"iretur", "eo", 1, {kImperfectSubjunctivePassive3Sg},
         "A&G §203.a (eo: impersonal passive itur, eatur, iretur)"},
    };
    return forms;
}

const std::vector<ParticipleOwner>& participleOwners()
{
    static const std::vector<ParticipleOwner> owners = {
        {"fio", "facio", "A&G §204 (fio serves as the passive of facio; factus its participle)"},
    };
    return owners;
}

const std::vector<ReaderName>& readerNames()
{
    static const std::vector<ReaderName> names = {
        {"ab", "a", 1},  {"abs", "a", 1},       {"oportet", "oporteo", 1},
        {"atque", "ac", 1}, {"ex", "e", 1},     {"ut", "uti", 1},
    };
    return names;
}

const std::vector<LaterSpelling>& laterSpellings()
{
    static const std::vector<LaterSpelling> spellings = {
        {"ch for h (michi, nichil)", "ch", "h", true},
        {"e for ae (que, celum)", "e", "ae", true},
        {"e for oe (pena)", "e", "oe", true},
        {"hii for ii", "hii", "ii", false},
        {"hisdem for isdem", "hisdem", "isdem", false},
        {"mpn for mn (dampnum)", "mpn", "mn", true},
        {"mpt for mt (temptat, contempno)", "mpt", "mt", true},
    };
    return spellings;
}

} // namespace quorvex::lexicon
