// The windows under a random hand: a seeded sequence of user actions (searches of forms drawn
// from the texts' own words, with "*", phrases, accents and ligatures; every "Outils" choice;
// sorts; the viewer's steps; the tool windows and their keys; saves, exports and prints to the
// doubles; closing and reopening) played on the real windows, headless, with the invariants
// that must always hold checked after every action through the core, in the same process:
//   - the grid holds the rows the core gives for the request the list answers, read in the
//     word table of that request;
//   - every open tool window shows rows made from that list (KWIC lines, collocates,
//     dispersion bands, the forms of the lemma);
//   - the viewer, right after it took a row, shows that row's reference and its passage;
//   - no busy pointer is left on.
// Each sequence runs in a child process, so a crash is a failure like any other: the failing
// sequence is then shrunk by halving (parts of it left out while it still fails) and printed
// with the command line that plays it again.
//
//   random_window_driver [--seed N]... [--date-seed] [--actions N] [--keep I,J,...] [--verbose]
//                        [--latin FILE --french FILE]

#include "support/WindowDriver.h"

#include "concordance/Collocates.h"
#include "concordance/SearchResult.h"
#include "output/DispersionPlot.h"
#include "output/KwicLines.h"
#include "passages/ReferenceScan.h"
#include "system/CacheFolder.h"
#include "text/Cp1252.h"
#include "text/TextFile.h"
#include "translation/CachingStemmer.h"
#include "translation/FrenchLemmas.h"
#include "translation/Stemmer.h"
#include "windows/AboutBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QSpinBox>
#include <QTextEdit>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace quorvex;

namespace {

// ---------------------------------------------------------------------------------------
// The actions, drawn before any window exists, so that a sequence is the same whatever the
// windows did with it; each reads the state it finds (a row number is taken modulo the rows).

enum class Kind {
    Search, Choice, FrenchForm, Sort, OpenRow, GridKey, ViewerStep, OpenTool, CloseTool, ToolKey,
    CollocateWidth, RemoveFrenchFilter, Save, Export, Print, ViewerPrint, CopyCommand, SavePicture,
    CloseSearch, Reopen, CloseViewer, About, FrenchBox, Morph,
};

struct Action {
    Kind kind = Kind::Search;
    std::uint32_t a = 0, b = 0;
    std::string text;  // UTF-8
    bool hasText = true;
};

const char* const kChoices[] = {"lemme",         "lemme_strict",        "orthographe", "expression",
                                "cote_francais", "marquer_traductions", "filtre_aligne"};
const char* const kSorts[] = {"Command2", "Command3", "tri_gauche", "tri_droite"};
const char* const kViewerSteps[] = {"Command1", "Command2", "Command3", "Command4"};
const char* const kTools[] = {"kwic", "cooccurrents", "dispersion", "traductions", "formes_lemme"};
const char* const kToolWindows[] = {"frmKwic", "frmCooccurrents", "frmDispersion", "frmTraductions", "frmFormes"};
// What a reader types in "analyse": names of analyses alone and together, a word of none (refused),
// and nothing (the filter taken away).
const char* const kMorphs[] = {"subjonctif", "ablatif pluriel", "parfait actif", "", "nominatif singulier",
                               "impératif", "zzz", "infinitif"};
const Qt::Key kGridKeys[] = {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_Down,
                             Qt::Key_Up,     Qt::Key_Home,  Qt::Key_End,   Qt::Key_Left, Qt::Key_Right};
const char* const kGridKeyNames[] = {"Return", "Enter", "Space", "Down", "Up", "Home", "End", "Left", "Right"};

std::string describe(const Action& x)
{
    std::ostringstream s;
    switch (x.kind) {
    case Kind::Search: s << "search \"" << x.text << '"'; break;
    case Kind::Choice: s << "Outils > " << kChoices[x.a]; break;
    case Kind::FrenchForm:
        s << "Outils > forme_francaise " << (x.hasText ? '"' + x.text + '"' : std::string("(cancelled)"));
        break;
    case Kind::Sort: s << "sort " << kSorts[x.a]; break;
    case Kind::OpenRow: s << "click grid row #" << x.a; break;
    case Kind::GridKey: s << "grid key " << kGridKeyNames[x.b] << " on row #" << x.a; break;
    case Kind::ViewerStep: s << "viewer " << kViewerSteps[x.a]; break;
    case Kind::OpenTool: s << "Outils > " << kTools[x.a]; break;
    case Kind::CloseTool: s << "close " << kToolWindows[x.a]; break;
    case Kind::ToolKey:
        s << kToolWindows[x.a] << (x.b % 2 ? " Space" : " Return") << " on row #" << (x.b / 2);
        break;
    case Kind::CollocateWidth: s << "collocate window " << x.a; break;
    case Kind::RemoveFrenchFilter: s << "retirer_filtre"; break;
    case Kind::Save: s << "Fichier > enregistrer, answer " << (x.a == 0 ? "cancel" : "file " + std::to_string(x.a)); break;
    case Kind::Export:
        s << "Outils > exporter, filter " << x.b << ", answer "
          << (x.a == 0 ? "cancel" : "file " + std::to_string(x.a));
        break;
    case Kind::Print: s << "Fichier > imprimer, setup " << (x.a ? "confirmed" : "cancelled"); break;
    case Kind::ViewerPrint: s << "viewer imprimer, setup " << (x.a ? "confirmed" : "cancelled"); break;
    case Kind::CopyCommand: s << "Outils > copier_commande"; break;
    case Kind::SavePicture: s << "dispersion enregistrer_image"; break;
    case Kind::CloseSearch: s << "search window Fichier > quitter"; break;
    case Kind::Reopen: s << "Application > concordance"; break;
    case Kind::CloseViewer: s << "viewer Fichier > fermer"; break;
    case Kind::About: s << "A propos de, then OK"; break;
    case Kind::FrenchBox: s << (x.a ? "French text named again" : "French text box emptied"); break;
    case Kind::Morph: s << "analyse \"" << kMorphs[x.a] << "\" Return"; break;
    }
    return s.str();
}

// The words the queries are drawn from, UTF-8.
struct Vocabulary {
    std::vector<std::string> latin, french, ligatures;
    std::vector<std::string> latinRun;  // the Latin words in text order, for phrases
};

void addForms(const WordTable& table, std::vector<std::string>& into, std::vector<std::string>* ligatures)
{
    std::set<std::string> seen;
    for (WordTable::TypeId t = 0; t < table.typeCount(); ++t) {
        const std::string_view form = table.typeText(t);
        std::string utf8 = cp1252ToUtf8(form);
        if (!seen.insert(utf8).second)
            continue;
        if (ligatures && form.find_first_of("\x8C\x9C\xC6\xE6") != std::string_view::npos)
            ligatures->push_back(utf8);
        into.push_back(std::move(utf8));
    }
}

Vocabulary readVocabulary(const std::string& latinPath, const std::string& frenchPath)
{
    Vocabulary v;
    TextReadResult latin = readText(latinPath);
    TextReadResult french = readText(frenchPath);
    if (latin.error || french.error) {
        std::cerr << "random_window_driver: cannot read " << (latin.error ? latinPath : frenchPath) << '\n';
        std::exit(2);
    }
    const WordTable latinWords = WordTable::segment(latin.text, LetterSet::Extended);
    const WordTable frenchWords = WordTable::segment(std::move(french.text), kFrenchLetters);
    addForms(latinWords, v.latin, &v.ligatures);
    addForms(frenchWords, v.french, &v.ligatures);
    const std::size_t run = std::min<std::size_t>(latinWords.size(), 20000);
    for (std::size_t i = 0; i < run; ++i)
        v.latinRun.push_back(cp1252ToUtf8(latinWords.form(i)));
    return v;
}

class ActionDraw {
public:
    ActionDraw(std::uint64_t seed, const Vocabulary& words) : m_rng(seed), m_words(words) {}

    Action next()
    {
        // The weights of the kinds, in the order of Kind.
        static const int weights[] = {16, 9, 2, 5, 6, 5, 8, 8, 3, 5, 2, 1, 2, 2, 2, 1, 1, 1, 1, 2, 1, 1, 1, 3};
        static_assert(sizeof(weights) / sizeof(weights[0]) == int(Kind::Morph) + 1, "one weight a kind");
        std::discrete_distribution<int> kind(std::begin(weights), std::end(weights));
        Action x;
        x.kind = Kind(kind(m_rng));
        x.a = std::uint32_t(m_rng());
        x.b = std::uint32_t(m_rng());
        switch (x.kind) {
        case Kind::Search: x.text = query(); break;
        case Kind::Choice: x.a %= std::size(kChoices); break;
        case Kind::FrenchForm:
            x.hasText = pick(5) != 0;
            x.text = x.hasText ? pickOf(m_words.french) : std::string();
            break;
        case Kind::Sort: x.a %= std::size(kSorts); break;
        case Kind::GridKey: x.b %= std::size(kGridKeys); break;
        case Kind::ViewerStep: x.a %= std::size(kViewerSteps); break;
        case Kind::OpenTool:
        case Kind::CloseTool: x.a %= std::size(kTools); break;
        case Kind::ToolKey: x.a = std::array<std::uint32_t, 3>{0, 3, 4}[x.a % 3]; x.b %= 1000; break;
        case Kind::CollocateWidth: x.a = 1 + x.a % 10; break;
        case Kind::Save: x.a %= 4; break;
        case Kind::Export: x.a %= 4; x.b %= 5; break;
        case Kind::Print:
        case Kind::ViewerPrint:
        case Kind::FrenchBox: x.a %= 2; break;
        case Kind::Morph: x.a %= std::size(kMorphs); break;
        default: break;
        }
        return x;
    }

private:
    std::size_t pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(m_rng); }
    const std::string& pickOf(const std::vector<std::string>& from)
    {
        static const std::string none;
        return from.empty() ? none : from[pick(from.size())];
    }
    // A form as a reader types it: a word of either text, cut short with "*" before or after,
    // a few words in a row, a capital, a ligature, a lemma, or nothing found at all.
    std::string query()
    {
        static const char* const lemmas[] = {"dico", "sum", "deus", "dominus", "facio", "video", "homo",
                                             "filius", "pater", "do", "caelum", "amen", "seigneur", "cœur",
                                             "sœurs", "Œuvre", "æternus", "cœlum", "coelum"};
        const std::size_t how = pick(100);
        if (how < 40)
            return pickOf(m_words.latin);
        if (how < 55)
            return pickOf(m_words.french);
        if (how < 67) {
            const std::string& word = pickOf(pick(3) ? m_words.latin : m_words.french);
            // Cut between two characters, never inside one's UTF-8 bytes.
            auto inside = [&](std::size_t at) {
                return at < word.size() && (static_cast<unsigned char>(word[at]) & 0xC0) == 0x80;
            };
            std::size_t cut = word.size() < 3 ? word.size() : 1 + pick(word.size() - 1);
            while (inside(cut))
                ++cut;
            if (pick(2))
                return word.substr(0, cut) + "*";
            return "*" + word.substr(cut);
        }
        if (how < 79 && m_words.latinRun.size() > 4) {
            const std::size_t at = pick(m_words.latinRun.size() - 3);
            std::string phrase = m_words.latinRun[at];
            for (std::size_t k = 1, n = 1 + pick(2); k <= n; ++k)
                phrase += " " + m_words.latinRun[at + k];
            return phrase;
        }
        if (how < 84) {
            std::string word = pickOf(m_words.latin);
            if (!word.empty() && word[0] >= 'a' && word[0] <= 'z')
                word[0] = char(word[0] - 'a' + 'A');
            return word;
        }
        if (how < 89)
            return pickOf(m_words.ligatures);
        if (how < 96)
            return lemmas[pick(std::size(lemmas))];
        static const char* const odd[] = {"", "*", "**", "a*b*c", "zzzq", "et  et", "\xE2\x82\xAC", "\xE2\x98\x83",
                                          "é*", "*œ", " "};
        return odd[pick(std::size(odd))];
    }

    std::mt19937_64 m_rng;
    const Vocabulary& m_words;
};

std::vector<Action> drawActions(std::uint64_t seed, std::size_t count, const Vocabulary& words)
{
    ActionDraw draw(seed, words);
    std::vector<Action> actions;
    actions.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        actions.push_back(draw.next());
    return actions;
}

// ---------------------------------------------------------------------------------------
// The run of one sequence, in the child process.

struct Failure {
    std::size_t step = 0;
    std::string what;
};

// The first warning Qt gave since the last step: the program has none to give.
std::string g_qtWarning;

class Player {
public:
    Player(const QByteArray& latin, const QByteArray& french, const std::string& frenchPath,
           const std::string& oracleCache, bool verbose)
        : m_verbose(verbose), m_frenchPath(frenchPath), m_oracleCache(std::make_shared<const CacheFolder>(oracleCache))
    {
        d.useTexts(latin, french);
        trigger(d.windows.textWindow(), "concordance");
        // The oracle learns its word alignment apart from the windows' cache, once per run of
        // the driver and not once per sequence: a sequence and each try of the shrinking are
        // children of their own.
        m_oracleTexts.keepAlignmentsIn(m_oracleCache);
        m_oracleTexts.setLatin(std::string(latin.constData(), std::size_t(latin.size())));
        m_oracleTexts.setFrench(std::string(french.constData(), std::size_t(french.size())));
        QObject::connect(&d.session, &Session::resultsReset, [this] {
            ++m_listVersion;
            m_viewerFresh = false;
        });
    }

    // The step at which an invariant broke, if any.
    std::optional<Failure> play(const std::vector<Action>& actions)
    {
        for (std::size_t i = 0; i < actions.size(); ++i) {
            if (m_verbose)
                std::cerr << "#" << i << ' ' << describe(actions[i]) << std::endl;
            perform(actions[i]);
            QCoreApplication::processEvents();
            if (!g_qtWarning.empty())
                return Failure{i, "Qt warned on standard error: " + g_qtWarning + '\n'};
            if (std::string broken = check(); !broken.empty())
                return Failure{i, broken};
            // Every box and print is taken: a random hand reads none of them.
            d.doubles.messages.forget();
            d.doubles.printing.documents.clear();
            d.doubles.printing.pagesSent.clear();
            d.doubles.dialogs.calls.clear();
        }
        return std::nullopt;
    }

private:
    SearchWindow* search() const { return d.windows.searchWindowIfLoaded(); }
    QWidget* tool(std::size_t k) const
    {
        SearchWindow* s = search();
        return s ? s->findChild<QWidget*>(QLatin1String(kToolWindows[k])) : nullptr;
    }
    template <typename T = QWidget>
    static T* find(const QWidget* window, const char* name)
    {
        return window ? window->findChild<T*>(QLatin1String(name)) : nullptr;
    }
    static void triggerIfThere(const QWidget* window, const char* name)
    {
        if (auto* action = find<QAction>(window, name))
            action->trigger();
    }
    std::size_t listRows() const { return d.session.rowCount() - 1; }
    QString outputPath(std::uint32_t n, const char* ext) const
    {
        return d.dir.filePath(QStringLiteral("sortie-%1.%2").arg(n).arg(QLatin1String(ext)));
    }

    // The grid opens the viewer on a row only when it was not open: an open viewer is
    // brought forward with the attestation and the passage it shows.
    void viewerMayHaveTakenRow(bool wasOpen)
    {
        if (!wasOpen && d.windows.contextViewerIfLoaded())
            m_viewerFresh = true;
    }

    void perform(const Action& x)
    {
        SearchWindow* s = search();
        switch (x.kind) {
        case Kind::Search:
            if (s) {
                child<QLineEdit>(s, "Text1")->setText(QString::fromStdString(x.text));
                click(s, "Command1");
            }
            break;
        case Kind::Choice: triggerIfThere(s, kChoices[x.a]); break;
        case Kind::FrenchForm:
            if (s) {
                d.doubles.textInput.queueAnswer(x.hasText ? std::optional<QString>(QString::fromStdString(x.text))
                                                          : std::nullopt);
                triggerIfThere(s, "forme_francaise");
                d.doubles.textInput.forget();
            }
            break;
        case Kind::Sort:
            if (s) {
                if (x.a < 2)
                    click(s, kSorts[x.a]);
                else
                    triggerIfThere(s, kSorts[x.a]);
            }
            break;
        case Kind::OpenRow:
            if (s && listRows() > 0 && d.session.searched()) {
                const bool wasOpen = d.windows.contextViewerIfLoaded() != nullptr;
                d.openRow(1 + x.a % listRows());
                viewerMayHaveTakenRow(wasOpen);
            }
            break;
        case Kind::GridKey:
            if (s && listRows() > 0) {
                ResultGrid* grid = s->resultGrid();
                const bool wasOpen = d.windows.contextViewerIfLoaded() != nullptr;
                grid->setCurrentIndex(grid->model()->index(int(x.a % listRows()), 0));
                QTest::keyClick(grid, kGridKeys[x.b]);
                if (d.session.searched())
                    viewerMayHaveTakenRow(wasOpen);
            }
            break;
        case Kind::ViewerStep:
            if (ContextViewer* v = d.windows.contextViewerIfLoaded()) {
                auto* button = child<QPushButton>(v, kViewerSteps[x.a]);
                if (button->isEnabled()) {
                    button->click();
                    if (x.a >= 2)
                        m_viewerFresh = false;
                }
            }
            break;
        case Kind::OpenTool: triggerIfThere(s, kTools[x.a]); break;
        case Kind::CloseTool:
            if (QWidget* w = tool(x.a))
                w->close();
            break;
        case Kind::ToolKey:
            if (QWidget* w = tool(x.a)) {
                auto* view = find<QAbstractItemView>(w, x.a == 0 ? "lignes" : "tableau");
                if (view && view->model()->rowCount() > 0) {
                    const int column = x.a == 4 ? 0 : view->currentIndex().column() < 0 ? 0 : view->currentIndex().column();
                    view->setCurrentIndex(view->model()->index(int((x.b / 2) % std::uint32_t(view->model()->rowCount())),
                                                               column));
                    QTest::keyClick(view, x.b % 2 ? Qt::Key_Space : Qt::Key_Return);
                    if (x.a == 0 && d.session.searched())
                        m_viewerFresh = d.windows.contextViewerIfLoaded() != nullptr;
                }
            }
            break;
        case Kind::CollocateWidth:
            if (auto* width = find<QSpinBox>(tool(1), "largeur"))
                width->setValue(int(x.a));
            break;
        case Kind::RemoveFrenchFilter:
            if (auto* button = find<QPushButton>(tool(3), "retirer_filtre"); button && button->isEnabled())
                button->click();
            break;
        case Kind::Save:
            if (s) {
                d.doubles.dialogs.queueAnswer(x.a ? outputPath(x.a, "txt") : QString());
                triggerIfThere(s, "enregistrer");
                d.doubles.dialogs.forget();
            }
            break;
        case Kind::Export:
            if (s) {
                d.doubles.dialogs.queueAnswer(x.a ? outputPath(x.a, "exp") : QString(), int(x.b));
                triggerIfThere(s, "exporter");
                d.doubles.dialogs.forget();
            }
            break;
        case Kind::Print:
            d.doubles.printSetup.confirms = x.a != 0;
            triggerIfThere(s, "imprimer");
            break;
        case Kind::ViewerPrint:
            d.doubles.printSetup.confirms = x.a != 0;
            triggerIfThere(d.windows.contextViewerIfLoaded(), "imprimer");
            break;
        case Kind::CopyCommand: triggerIfThere(s, "copier_commande"); break;
        case Kind::SavePicture:
            if (auto* button = find<QPushButton>(tool(2), "enregistrer_image"); button && button->isEnabled()) {
                d.doubles.dialogs.queueAnswer(outputPath(x.a % 3, "svg"));
                button->click();
                d.doubles.dialogs.forget();
            }
            break;
        case Kind::CloseSearch: triggerIfThere(s, "quitter"); break;
        case Kind::Reopen: trigger(d.windows.textWindow(), "concordance"); break;
        case Kind::CloseViewer: triggerIfThere(d.windows.contextViewerIfLoaded(), "fermer"); break;
        case Kind::About:
            if (s) {
                trigger(s, "about");
                if (AboutBox* box = d.windows.aboutBoxIfLoaded())
                    click(box, "cmdOK");
            }
            break;
        case Kind::Morph:
            // Disabled outside a lemma search, as a reader finds it.
            if (auto* edit = find<QLineEdit>(s, "analyse"); edit && edit->isEnabled()) {
                edit->setFocus();
                edit->setText(QString::fromUtf8(kMorphs[x.a]));
                QTest::keyClick(edit, Qt::Key_Return);
            }
            break;
        case Kind::FrenchBox:
            // The viewer shows what it read when it took its row, from the texts named then.
            d.setBox("Text_francais", x.a ? d.frenchPath : QString());
            m_viewerFresh = false;
            break;
        }
    }

    // The core's list for the request the session's list answers, searched in the driver's
    // own texts as quorvex-cli searches (the strict lemma and --morph tagged around the
    // candidates, where the session tags the whole text once); null when the request needs
    // what the session never read (the lexicon).
    const SearchResult* oracle()
    {
        const SearchRequest& request = d.session.result().request();
        if (m_oracle && m_oracleRequest == request)
            return &*m_oracle;
        SearchAids aids;
        if (request.lemma) {
            aids.lexicon = d.session.lexicon();
            if (!aids.lexicon)
                return nullptr;
            aids.tags = d.session.tagModel();
            aids.tagWholeText = false;
        }
        if (request.frenchLemma || request.aligned) {
            if (!m_frenchLemmas) {
                // A stemmer that names its text and dictionary, as the command line's: the
                // alignments are then read again from the oracle's cache, not trained anew
                // each time the request moves to another folding.
                m_stemmer = openFrenchStemmer(std::string(kDefaultFrenchDictionary), m_frenchPath,
                                              m_oracleTexts.text(true), *m_oracleCache)
                                .stemmer;
                m_frenchLemmas = std::make_unique<FrenchLemmas>(m_stemmer.get());
                // A French word stands for the lemma chosen over the whole text, as in the
                // windows and the command line.
                m_frenchLemmas->readText(*m_oracleTexts.table(true, Folding::Case));
            }
            aids.frenchLemmas = m_frenchLemmas.get();
        }
        SearchRequest textOrder = request;
        textOrder.sort = SortOrder::Text;
        m_oracle = buildSearchResult(textOrder, m_oracleTexts, aids);
        m_oracleRequest = request;
        return &*m_oracle;
    }

    static bool byPosition(const Attestation& x, const Attestation& y)
    {
        return x.first != y.first ? x.first < y.first : x.words < y.words;
    }

    std::string check()
    {
        std::ostringstream broken;
        if (d.doubles.busy.anyBusy() || d.doubles.busy.unmatchedOffs() != 0)
            return "a busy pointer is left on after the action";
        SearchWindow* s = search();
        if (!s || !d.session.searched())
            return {};

        // The grid shows the session's rows.
        const ResultList& shown = d.session.results();
        ResultGrid* grid = s->resultGrid();
        if (std::size_t(grid->model()->rowCount()) != shown.size())
            broken << "the grid has " << grid->model()->rowCount() << " rows, the list " << shown.size();

        // The list is the core's for its request, in the core's word table for it.
        const SearchResult* core = oracle();
        if (!core)
            return broken.str();
        const WordTable& words = core->words();
        if (d.session.searchedWords().letterSet() != words.letterSet()
            || d.session.searchedWords().size() != words.size())
            broken << "the list's word table is not the one its request is searched in\n";
        ResultList expected = core->list();
        if (d.session.listOrder() == ListOrder::Text) {
            if (shown != expected)
                broken << "the list in text order differs from the core's (" << shown.size() << " rows, core "
                       << expected.size() << ")\n";
        } else {
            ResultList sortedShown = shown;
            std::sort(sortedShown.begin(), sortedShown.end(), byPosition);
            std::sort(expected.begin(), expected.end(), byPosition);
            if (sortedShown != expected)
                broken << "the sorted list holds other rows than the core's (" << shown.size() << " rows, core "
                       << expected.size() << ")\n";
        }
        if (!broken.str().empty())
            return broken.str();
        const std::size_t step = std::max<std::size_t>(1, shown.size() / 50);
        std::string scratch;
        for (std::size_t k = 0; k < shown.size(); k += step) {
            const QModelIndex cell = grid->model()->index(int(k), 0);
            const std::string form(attestationForm(words, shown[k], scratch));
            if (cell.data().toString() != fromCp1252(form)) {
                broken << "grid row " << k + 1 << " shows \"" << cell.data().toString().toStdString()
                       << "\", the core's word is \"" << cp1252ToUtf8(form) << "\"\n";
                break;
            }
        }
        checkTools(shown, words, broken);
        checkViewer(broken);
        return broken.str();
    }

    void checkTools(const ResultList& shown, const WordTable& words, std::ostringstream& broken)
    {
        const bool attested = holdsAttestations(shown);
        if (QWidget* kwic = tool(0)) {
            auto* lines = child<QAbstractItemView>(kwic, "lignes");
            const std::size_t rows = std::size_t(lines->model()->rowCount());
            if (rows != (attested ? shown.size() : 0)) {
                broken << "KWIC shows " << rows << " lines for " << shown.size() << " rows\n";
            } else if (attested) {
                const KwicLines made(words, shown, kDefaultKwicWidth);
                const std::size_t step = std::max<std::size_t>(1, rows / 20);
                for (std::size_t k = 0; k < rows; k += step) {
                    std::string line;
                    made.appendLine(k, line);
                    if (lines->model()->index(int(k), 0).data().toString() != QString::fromStdString(line)) {
                        broken << "KWIC line " << k + 1 << " is not the core's: \""
                               << lines->model()->index(int(k), 0).data().toString().toStdString() << "\" against \""
                               << line << "\"\n";
                        break;
                    }
                }
            }
        }
        if (QWidget* collocates = tool(1)) {
            auto* table = child<QAbstractItemView>(collocates, "tableau");
            const std::size_t width = std::size_t(child<QSpinBox>(collocates, "largeur")->value());
            const std::size_t rows = std::size_t(table->model()->rowCount());
            if (m_collocatesVersion != m_listVersion || m_collocatesWidth != width) {
                m_collocates.clear();
                if (attested) {
                    const SearchRequest& r = d.session.result().request();
                    const CollocateKeys keys = r.lemma && m_oracle->textLemmata() && m_oracle->lexicon()
                        ? lemmaKeys(words, *m_oracle->textLemmata(), *m_oracle->lexicon())
                        : foldedFormKeys(words, r.folding());
                    for (const Collocate& c : findCollocates(words, shown, width, keys))
                        m_collocates.push_back(keys.utf8 ? QString::fromStdString(c.form) : fromCp1252(c.form));
                }
                m_collocatesVersion = m_listVersion;
                m_collocatesWidth = width;
            }
            // A window whose refill was refused keeps its rows; one that shows the list must
            // show the core's collocates.
            if (rows != std::size_t(m_collocates.size())) {
                broken << "Cooccurrents shows " << rows << " rows, the core finds " << m_collocates.size() << '\n';
            } else {
                for (std::size_t k = 0; k < rows && k < 5; ++k)
                    if (table->model()->index(int(k), 0).data().toString() != m_collocates[int(k)]) {
                        broken << "Cooccurrents row " << k + 1 << " is \""
                               << table->model()->index(int(k), 0).data().toString().toStdString()
                               << "\", the core's \"" << m_collocates[int(k)].toStdString() << "\"\n";
                        break;
                    }
            }
        }
        if (QWidget* dispersion = tool(2)) {
            auto* table = child<QAbstractItemView>(dispersion, "tableau");
            const std::size_t bands = attested ? dispersionBands(words, shown).size() : 0;
            const std::size_t rows = std::size_t(table->model()->rowCount());
            if (attested && rows != bands)
                broken << "Dispersion shows " << rows << " bands, the core draws " << bands << '\n';
        }
        if (QWidget* forms = tool(4); forms && d.session.result().request().lemma && attested) {
            auto* table = child<QAbstractItemView>(forms, "tableau");
            std::size_t checked = 0;
            for (int r = 0; r < table->model()->rowCount(); ++r)
                if (table->model()->index(r, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked)
                    checked += table->model()->index(r, 1).data().toString().toULongLong();
            if (table->model()->rowCount() > 0 && checked != shown.size())
                broken << "Formes du lemme counts " << checked << " attestations in its checked forms, the list "
                       << shown.size() << '\n';
        }
    }

    void checkViewer(std::ostringstream& broken)
    {
        ContextViewer* v = d.windows.contextViewerIfLoaded();
        if (!v || !m_viewerFresh)
            return;
        const ViewerState& state = d.session.viewer();
        if (state.row == 0 || state.row >= d.session.rowCount()) {
            broken << "the viewer holds row " << state.row << " of a list of " << listRows() << " rows\n";
            return;
        }
        std::string reference = d.session.reference(state.row);
        while (!reference.empty() && reference.back() == ' ')
            reference.pop_back();
        if (state.attestationReference != reference) {
            broken << "the viewer shows " << cp1252ToUtf8(state.attestationReference) << " for row " << state.row
                   << " of reference " << cp1252ToUtf8(reference) << '\n';
            return;
        }
        const bool french = d.session.listOfFrenchText();
        // With the French text's box emptied since the search, the viewer reads no French text.
        if (french && d.session.frenchPath().isEmpty())
            return;
        const ReferenceScanResult scan = scanReference(m_oracleTexts.text(french), reference, Neighbours::Ignore);
        if (!scan.pane)
            return;
        auto plain = [](QString text) {
            text.remove(QLatin1Char('\r')).remove(QLatin1Char('\n')).remove(QChar(QChar::ParagraphSeparator));
            return text;
        };
        const QString pane = child<QTextEdit>(v, french ? "label4" : "label3")->toPlainText();
        if (plain(pane) != plain(fromCp1252(*scan.pane)))
            broken << "the viewer's " << (french ? "French" : "Latin") << " pane is not the passage of "
                   << cp1252ToUtf8(reference) << '\n';
    }

    WindowDriver d;
    bool m_verbose = false;
    bool m_viewerFresh = false;
    std::uint64_t m_listVersion = 0;
    std::string m_frenchPath;
    std::shared_ptr<const CacheFolder> m_oracleCache;
    SearchTexts m_oracleTexts;
    std::optional<SearchResult> m_oracle;
    SearchRequest m_oracleRequest;
    std::unique_ptr<Stemmer> m_stemmer;
    std::unique_ptr<FrenchLemmas> m_frenchLemmas;
    QStringList m_collocates;
    std::uint64_t m_collocatesVersion = ~std::uint64_t(0);
    std::size_t m_collocatesWidth = 0;
};

// ---------------------------------------------------------------------------------------
// The parent: draws, forks, shrinks, reports.

struct Options {
    std::vector<std::uint64_t> seeds;
    std::size_t actions = 500;
    std::optional<std::vector<std::size_t>> keep;
    bool verbose = false;
    std::string latin = QUORVEX_CORPUS_DIR "/latin-nt.txt";
    std::string french = QUORVEX_CORPUS_DIR "/francais-nt.txt";
    std::string oracleCache;  // a folder of this run's own
};

QByteArray readWhole(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Plays the sequence in a child process: true when every invariant held and nothing crashed.
// `quiet` sends the child's standard error away (while shrinking).
bool passes(const Options& o, const std::vector<Action>& actions, bool quiet, std::string* why)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        std::exit(2);
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0)
        std::exit(2);
    if (child == 0) {
        close(pipeEnds[0]);
        if (quiet && std::freopen("/dev/null", "w", stderr) == nullptr)
            _exit(2);
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // The offscreen platform's notes on what it cannot do, and the runtime folder of a
        // test machine, say nothing of the program; any other warning is a fault.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (text.startsWith(QLatin1String("This plugin does not support"))
                || text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
                return;
            const QString line = qFormatLogMessage(type, context, text);
            if (type != QtDebugMsg && type != QtInfoMsg && g_qtWarning.empty())
                g_qtWarning = line.toStdString();
            std::cerr << qPrintable(line) << std::endl;
        });
        int argc = 1;
        char name[] = "random_window_driver";
        char* argv[] = {name, nullptr};
        QApplication app(argc, argv);
        Player player(readWhole(o.latin), readWhole(o.french), o.french, o.oracleCache, o.verbose && !quiet);
        const std::optional<Failure> failure = player.play(actions);
        int code = 0;
        if (failure) {
            const std::string message = "step " + std::to_string(failure->step) + ": " + failure->what;
            if (write(pipeEnds[1], message.data(), message.size()) < 0)
                code = 3;
            code = 1;
        }
        close(pipeEnds[1]);
        std::fflush(nullptr);
        _exit(code);
    }
    close(pipeEnds[1]);
    std::string message;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        message.append(buffer, std::size_t(n));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return true;
    if (why) {
        if (!message.empty())
            *why = message;
        else if (WIFSIGNALED(status))
            *why = "the program died of signal " + std::to_string(WTERMSIG(status));
        else
            *why = "the program ended with status " + std::to_string(WEXITSTATUS(status));
    }
    return false;
}

// Leaves out parts of the failing sequence while it still fails: halves first, then quarters,
// and so on down to single actions. Returns the indices of the actions kept.
std::vector<std::size_t> shrink(const Options& o, const std::vector<Action>& all, std::vector<std::size_t> kept)
{
    auto actionsOf = [&](const std::vector<std::size_t>& indices) {
        std::vector<Action> out;
        for (std::size_t i : indices)
            out.push_back(all[i]);
        return out;
    };
    for (std::size_t part = std::max<std::size_t>(1, kept.size() / 2); part >= 1; part /= 2) {
        for (std::size_t from = 0; from < kept.size();) {
            std::vector<std::size_t> without(kept.begin(), kept.begin() + std::ptrdiff_t(from));
            without.insert(without.end(), kept.begin() + std::ptrdiff_t(std::min(kept.size(), from + part)), kept.end());
            if (!without.empty() && !passes(o, actionsOf(without), true, nullptr)) {
                kept = std::move(without);
                std::cerr << "  shrunk to " << kept.size() << " actions" << std::endl;
            } else {
                from += part;
            }
        }
        if (part == 1)
            break;
    }
    return kept;
}

std::string joined(const std::vector<std::size_t>& indices)
{
    std::string out;
    for (std::size_t i : indices)
        out += (out.empty() ? "" : ",") + std::to_string(i);
    return out;
}

int usage()
{
    std::cerr << "usage: random_window_driver [--seed N]... [--date-seed] [--actions N] [--keep I,J,...]"
                 " [--verbose] [--latin FILE --french FILE]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                std::exit(usage());
            return argv[++i];
        };
        if (arg == "--seed") {
            o.seeds.push_back(std::stoull(value()));
        } else if (arg == "--date-seed") {
            // One seed a day: the CI meets a new sequence every day, and the seed printed
            // plays it again.
            const std::time_t now = std::time(nullptr);
            std::tm utc{};
            gmtime_r(&now, &utc);
            o.seeds.push_back(std::uint64_t((utc.tm_year + 1900) * 10000 + (utc.tm_mon + 1) * 100 + utc.tm_mday));
        } else if (arg == "--actions") {
            o.actions = std::stoull(value());
        } else if (arg == "--keep") {
            std::vector<std::size_t> keep;
            std::stringstream list(value());
            for (std::string n; std::getline(list, n, ',');)
                keep.push_back(std::stoull(n));
            o.keep = keep;
        } else if (arg == "--verbose") {
            o.verbose = true;
        } else if (arg == "--latin") {
            o.latin = value();
        } else if (arg == "--french") {
            o.french = value();
        } else {
            return usage();
        }
    }
    if (o.seeds.empty())
        o.seeds.push_back(1);
    if (const QByteArray lexicon = QUORVEX_LEXICON_DIR; !lexicon.isEmpty() && qgetenv("QUORVEX_LEXICON").isEmpty())
        qputenv("QUORVEX_LEXICON", lexicon);

    const Vocabulary words = readVocabulary(o.latin, o.french);
    std::string cacheName = (std::filesystem::temp_directory_path() / "random-window-oracle-XXXXXX").string();
    if (mkdtemp(cacheName.data()) == nullptr) {
        std::cerr << "random_window_driver: no temporary folder\n";
        return 2;
    }
    o.oracleCache = cacheName;
    int failures = 0;
    for (const std::uint64_t seed : o.seeds) {
        const std::vector<Action> all = drawActions(seed, o.actions, words);
        std::vector<std::size_t> kept;
        if (o.keep) {
            for (std::size_t i : *o.keep)
                if (i < all.size())
                    kept.push_back(i);
        } else {
            for (std::size_t i = 0; i < all.size(); ++i)
                kept.push_back(i);
        }
        std::vector<Action> actions;
        for (std::size_t i : kept)
            actions.push_back(all[i]);
        const auto start = std::chrono::steady_clock::now();
        std::string why;
        const bool ok = passes(o, actions, false, &why);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::cout << "seed " << seed << ": " << actions.size() << " actions, " << (ok ? "passed" : "FAILED") << " in "
                  << seconds << " s" << std::endl;
        if (ok)
            continue;
        ++failures;
        std::cout << "  " << why << std::endl;
        if (!o.keep || o.keep->size() > 1) {
            // The actions after the failing step play no part in it.
            std::size_t failedAt = kept.size();
            if (why.rfind("step ", 0) == 0)
                failedAt = std::min(kept.size(), std::size_t(std::stoull(why.substr(5))) + 1);
            kept.resize(failedAt);
            kept = shrink(o, all, kept);
        }
        std::cout << "  shrunk to " << kept.size() << " actions:\n";
        for (std::size_t i : kept)
            std::cout << "    #" << i << ' ' << describe(all[i]) << '\n';
        std::cout << "  again: " << argv[0] << " --seed " << seed << " --actions " << o.actions << " --keep "
                  << joined(kept) << " --verbose" << std::endl;
    }
    std::error_code ignored;
    std::filesystem::remove_all(o.oracleCache, ignored);
    return failures == 0 ? 0 : 1;
}
