#pragma once
// The mood of the verb forms that the tag counts cannot tell apart, read off the words that
// govern them. Two kinds of forms are written alike in two moods:
//   - the first person singular in -am (-ar) of the third and fourth conjugations: future
//     indicative or present subjunctive ("dicam", "audiam");
//   - the forms in -eris, -erit, -erimus, -eritis, -erint: future perfect indicative or
//     perfect subjunctive ("dixerit").
// The counts' tags keep the mood, but the trigrams around such a form say little of it; the
// little words before it say much: "ut dicam" is a subjunctive, "si dixerit" a future
// perfect. These rules follow the school grammars (Allen and Greenough, "New Latin Grammar",
// sections given at each rule in MoodRules.cpp), and the tagger then keeps only the readings
// of the mood they choose; where no rule speaks, the counts decide.
//
// The facts of each distinct form are found once (factsOf); then each sentence is read once
// (decide), from left to right, so that a verb joined by "et" to an earlier one of the same
// person may take that one's mood. A sentence is the tagger's: it ends at a colon and at a
// reference marker too, so a clause they cut is read in two halves.

#include "lexicon/Lexicon.h"
#include "lexicon/TagModel.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace quorvex::mood {

// What a word may do to the mood of a verb after it.
enum Cue : std::uint16_t {
    kGoverns = 1 << 0,         // ut, ne, quin, quominus, utinam, licet, quamvis, quasi...
    kUntil = 1 << 1,           // dum, donec, quoad
    kConditional = 1 << 2,     // si, nisi, etsi...
    kGeneralizing = 1 << 3,    // quicumque, quisquis, ubicumque...
    kTemporal = 1 << 4,        // cum, ubi, postquam, quando
    kRelative = 1 << 5,        // qui, quae, quod, quem...
    kInterrogative = 1 << 6,   // quis, quid, cur, quomodo, num...
    kQuestionWord = 1 << 7,    // ubi, unde, quando...: interrogative in a question
    kStatement = 1 << 8,       // quia, quoniam, quod: "that" after a verb of saying
    kNegative = 1 << 9,        // ne, nemini, nihil, nec...
    kCoordinator = 1 << 10,    // et, ac, atque, aut, vel, sed, nec, neque
    kMakesIndefinite = 1 << 11, // si, nisi, ne, num: "quis" after them is "anyone"
    kCum = 1 << 12,            // cum: the conjunction, or the preposition before an ablative
    kParticle = 1 << 13,       // enim, autem, mihi, vobis...: between a verb and its "quia"
    kWish = 1 << 14,           // vis, vultis, sine, fac, oportet: a subjunctive right after
};

// The mood of a verb form that stands for its clause.
enum class VerbMood : std::uint8_t {
    None,        // not (mostly) a finite verb
    Mixed,       // a finite verb of more than one mood
    Indicative,  // present or past indicative
    Future,      // future or future perfect indicative
    Subjunctive,
    Imperative,
};

enum class Homograph : std::uint8_t {
    None,
    FutureOrPresentSubjunctive,          // dicam
    FuturePerfectOrPerfectSubjunctive,   // dixerit
};

// What the rules know of one distinct form.
struct FormFacts {
    std::uint16_t cues = 0;
    VerbMood mood = VerbMood::None;
    std::uint8_t persons = 0;        // a bit for each person and number of its finite readings
    bool ablative = false;           // may be an ablative: "cum" before it is the preposition
    bool knowing = false;            // a verb of knowing, thinking, saying or asking
    Homograph homograph = Homograph::None;
    std::uint8_t homographPerson = 0;  // the bit of the homograph's person and number
};

enum class Verdict : std::uint8_t { None, Subjunctive, Indicative };

// The verbs after which "quod", "quia", "quoniam" and the relatives report a statement or
// ask a question (scio, dico, video, interrogo...), as the lexicon holds them.
std::vector<lexicon::LemmaId> knowingVerbs(const lexicon::Lexicon& lexicon);

// The facts of a form from its folded spelling and its readings, each with its weight (the
// share its lemma and morphology have among the form's readings).
FormFacts factsOf(std::string_view folded, const std::vector<lexicon::Analysis>& readings,
                  const std::vector<double>& weight, const lexicon::Lexicon& lexicon,
                  const lexicon::TagModel& tags, const std::vector<lexicon::LemmaId>& knowing);

// The verdict on every homograph of a sentence, given its words' facts in order (nullptr for
// a word nothing is known of); `commaBefore`: for each word, whether a comma stands before it;
// `question`: the sentence ends with a question mark.
void decide(const std::vector<const FormFacts*>& sentence, const std::vector<std::uint8_t>& commaBefore,
            bool question, std::vector<Verdict>& verdicts);

// Whether a verdict rules out a reading of its homograph: the other mood's reading of the
// homograph's tense, person and number.
bool rulesOut(Verdict verdict, const FormFacts& facts, const lexicon::VerbForm& reading);

} // namespace quorvex::mood
