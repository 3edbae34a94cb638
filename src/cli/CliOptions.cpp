#include "cli/CliOptions.h"

#include "cli/CliChecks.h"
#include "concordance/RequestOptions.h"
#include "text/Cp1252.h"
#include "translation/Stemmer.h"

#include <functional>

namespace quorvex {

namespace {

struct OptionRow {
    const char* name;
    const char* valueName;  // null for a flag
    std::string help;
    // Returns a French error, or "" when the value was taken.
    std::function<std::string(CliOptions&, const std::string& value)> apply;
    const char* example = nullptr;  // a whole command line, shown by --help
    // The value may be left out; the next argument is taken for it only when it is all
    // digits (so "--kwic amor" searches amor with the default width).
    bool optionalNumber = false;
    bool repeatable = false;  // each use adds a value instead of being refused
};

constexpr std::size_t kMaxKwicWidth = 100000;

std::string setAction(CliOptions& o, CliAction action, const char* option)
{
    if (!o.actionOption.empty() && o.actionOption != option)
        return "les options " + o.actionOption + " et " + option
            + " ne peuvent pas être employées ensemble.";
    o.action = action;
    o.actionOption = option;
    return {};
}

// A choice of the search request: its value read as the core reads it, so the window's kept
// choices and "Copier la commande" use the same words.
OptionRow requestRow(const char* name, std::string help, const char* example)
{
    const RequestOption* option = findRequestOption(name);
    return {option->name, option->valueName, std::move(help),
            [option](CliOptions& o, const std::string& value) { return option->read(o.search, value); },
            example, false, option->repeatable};
}

const std::vector<OptionRow>& optionTable()
{
    static const std::vector<OptionRow> table = {
        {"--latin", "FICHIER", "texte latin à découper en mots (obligatoire)",
         [](CliOptions& o, const std::string& v) { o.latinPath = v; return std::string(); },
         "quorvex-cli --latin latin.txt --count amor"},
        {"--french", "FICHIER", "traduction française : passages du fichier de résultats et de --format, comparaison de --check",
         [](CliOptions& o, const std::string& v) { o.frenchPath = v; return std::string(); },
         "quorvex-cli --latin latin.txt --french francais.txt --output resultat.txt rosam"},
        {"--title", "TEXTE", "texte de la ligne « Référence(s) : » du fichier de résultats",
         [](CliOptions& o, const std::string& v) { return optionValueToCp1252(v, "--title", o.title); },
         "quorvex-cli --latin latin.txt --title 'Virgile, Énéide I' --output resultat.txt arma"},
        {"--date", "TEXTE",
         "texte de la ligne « Recherche effectuée le : » (par défaut : maintenant, jj/mm/aaaa hh:mm:ss)",
         [](CliOptions& o, const std::string& v) {
             std::string d;
             std::string e = optionValueToCp1252(v, "--date", d);
             o.date = std::move(d);
             return e;
         },
         "quorvex-cli --latin latin.txt --date 04/12/2026 --output resultat.txt amor"},
        requestRow("--sort",
         "ordre des attestations : forms (par forme, comme le bouton « Formes »), text (ordre du "
         "texte, par défaut), left ou right (par le mot qui précède ou qui suit, puis le suivant "
         "plus loin, puis l'ordre du texte ; mots en minuscules, graphies ramenées avec --normalize)",
         "quorvex-cli --latin latin.txt --sort forms --list 'am*'"),
        {"--output", "FICHIER", "écrire le fichier de résultats, ou l'export de --format, là (par défaut : la sortie standard)",
         [](CliOptions& o, const std::string& v) {
             if (v.empty())
                 return std::string("--output attend un nom de fichier.");
             o.outputPath = v;
             return std::string();
         },
         "quorvex-cli --latin latin.txt --french francais.txt --output resultat.txt 'am*or'"},
        {"--count", nullptr, "afficher seulement le nombre d'attestations",
         [](CliOptions& o, const std::string&) { return setAction(o, CliAction::Count, "--count"); },
         "quorvex-cli --latin latin.txt --count 'am*'"},
        {"--list", nullptr, "afficher une ligne « forme<TAB>référence » par attestation (UTF-8)",
         [](CliOptions& o, const std::string&) { return setAction(o, CliAction::List, "--list"); },
         "quorvex-cli --latin latin.txt --list '*or'"},
        {"--show", "REF",
         "afficher ce que montre la fenêtre de contexte ouverte sur la référence REF (crochets compris)",
         [](CliOptions& o, const std::string& v) {
             std::string e = setAction(o, CliAction::Show, "--show");
             return e.empty() ? optionValueToCp1252(v, "--show", o.showReference) : e;
         },
         "quorvex-cli --latin latin.txt --french francais.txt --show '[2]'"},
        {"--mark", "FORME", "avec --show : la forme à marquer dans le passage latin",
         [](CliOptions& o, const std::string& v) {
             std::string f;
             std::string e = optionValueToCp1252(v, "--mark", f);
             o.markForm = std::move(f);
             return e;
         },
         "quorvex-cli --latin latin.txt --show '[2]' --mark amor"},
        {"--print-list", nullptr,
         "afficher les opérations de l'impression de la liste des attestations (« Imprimer les attestations »)",
         [](CliOptions& o, const std::string&) {
             return setAction(o, CliAction::PrintList, "--print-list");
         },
         "quorvex-cli --latin latin.txt --print-list amor"},
        {"--print-context", "REF",
         "afficher les opérations de l'impression du contexte de la référence REF (« Imprimer le contexte »)",
         [](CliOptions& o, const std::string& v) {
             std::string e = setAction(o, CliAction::PrintContext, "--print-context");
             return e.empty() ? optionValueToCp1252(v, "--print-context", o.printReference) : e;
         },
         "quorvex-cli --latin latin.txt --french francais.txt --print-context '[2]'"},
        {"--kwic", "[N]",
         "une ligne par attestation (UTF-8) : référence, N caractères avant la forme, la forme, N "
         "caractères après (40 par défaut), formes alignées en colonne et fins de ligne changées "
         "en blancs ; l'argument qui suit n'est pris pour N que s'il n'a que des chiffres "
         "(« --kwic -- 12 » cherche la forme 12)",
         [](CliOptions& o, const std::string& v) {
             std::string e = setAction(o, CliAction::Kwic, "--kwic");
             if (!e.empty() || v.empty())
                 return e;
             if (v.size() > 6 || v.find_first_not_of("0123456789") != std::string::npos
                 || std::stoul(v) > kMaxKwicWidth)
                 return "--kwic attend un nombre de caractères de 0 à "
                     + std::to_string(kMaxKwicWidth) + ", pas « " + v + " ».";
             o.kwicWidth = std::stoul(v);
             return std::string();
         },
         "quorvex-cli --latin latin.txt --kwic 30 --sort forms 'am*'", true},
        {"--format", "tsv|csv|html|tmx",
         "une fiche par attestation (UTF-8) : forme, référence, passage latin, passage français "
         "(les passages du fichier de résultats) ; tsv : champs séparés par des tabulations, une "
         "fiche par ligne, et dans un champ « \\ », tabulation, saut de ligne et retour chariot "
         "écrits \\\\ \\t \\n \\r ; csv : virgules, "
         "fins de ligne CR LF, guillemets autour d'un champ qui contient « \" », « , » ou une "
         "fin de ligne, et « \" » doublé (RFC 4180) ; html : une page seule, un tableau, la forme "
         "marquée dans le passage latin ; tmx : une mémoire de traduction TMX 1.4, une unité par "
         "référence de la liste dans l'ordre du texte, passages latin et français sans marqueur, "
         "fins de ligne changées en blancs. Avec --frequencies et --translations : tsv ou csv",
         [](CliOptions& o, const std::string& v) {
             if (v == "tsv")
                 o.format = ExportFormat::Tsv;
             else if (v == "csv")
                 o.format = ExportFormat::Csv;
             else if (v == "html")
                 o.format = ExportFormat::Html;
             else if (v == "tmx")
                 o.format = ExportFormat::Tmx;
             else
                 return "--format attend tsv, csv, html ou tmx, pas « " + v + " ».";
             return std::string();
         },
         "quorvex-cli --latin latin.txt --french francais.txt --format html --output amor.html 'am*'"},
        {"--frequencies", nullptr,
         "les formes trouvées et leur nombre, les plus fréquentes d'abord puis par ordre "
         "alphabétique : « amor 12 / Amor 3 — amor 15 » (les graphies telles qu'écrites, puis la "
         "forme en minuscules et le total sans distinction de majuscules) ; avec --format tsv ou "
         "csv : forme, nombre, forme en minuscules, total",
         [](CliOptions& o, const std::string&) {
             return setAction(o, CliAction::Frequencies, "--frequencies");
         },
         "quorvex-cli --latin latin.txt --frequencies '*'"},
        {"--check", nullptr,
         "comparer les références des deux textes, sans forme à rechercher : références d'un seul "
         "texte, répétées, hors d'ordre (« [1.10] » suit « [1.9] »), contenant des lettres, "
         "« [ » ou « ] » isolés ; une ligne « fichier:ligne: constat » par constat ; code de "
         "sortie 0 si les textes concordent, 3 sinon",
         [](CliOptions& o, const std::string&) { return setAction(o, CliAction::Check, "--check"); },
         "quorvex-cli --latin latin.txt --french francais.txt --check"},
        requestRow("--normalize",
         "graphies ramenées à une seule : majuscules, æ = ae, œ = oe, j = i, v = u, lettres "
         "accentuées = la lettre simple (à = a, ç = c, ë = e, ñ = n, ø = o, ý ÿ = y, š = s, ž = z), "
         "ð = d, þ = th, ß = ss ; Š Œ Ž š œ ž Ÿ comptent comme lettres des mots ; « * » garde son "
         "sens, sur les formes ramenées (« --normalize caelum » trouve « cælum »)",
         "quorvex-cli --latin latin.txt --normalize --count 'poenit*'"),
        requestRow("--phrase",
         "FORME est une suite de formes séparées par des blancs (chacune peut avoir une « * ») "
         "qui doivent se suivre dans la table des mots ; un marqueur ou une ponctuation entre "
         "elles ne rompt pas la suite ; l'attestation a pour forme les mots tels qu'écrits, joints "
         "par un blanc, et la référence du premier",
         "quorvex-cli --latin latin.txt --phrase --list 'filius Dei'"),
        requestRow("--french-form",
         "ne garder que les attestations dont le passage français (même référence) contient un "
         "mot de la forme FORME2 (mêmes règles : majuscules ignorées, « * », graphies ramenées "
         "avec --normalize) ; avec --aligned, dont un mot aligné (la colonne de --equivalents) "
         "est de cette forme",
         "quorvex-cli --latin latin.txt --french francais.txt --french-form 'seigneur*' --list Deus"),
        requestRow("--exclude-form",
         "laisser hors de la liste les attestations de la forme FORME (majuscules ignorées, "
         "graphies ramenées avec --normalize ou --lemma) ; répétable",
         "quorvex-cli --latin latin.txt --lemma --exclude-form dixit --list dico"),
        requestRow("--french-lemma",
         "ne garder que les attestations dont le passage français (même référence) contient un "
         "mot du lemme français LEMME (minuscules ignorées), les mots ramenés à leurs lemmes "
         "comme pour --translations ; avec --aligned, dont un mot aligné est de ce lemme",
         "quorvex-cli --latin latin.txt --french francais.txt --french-lemma seigneur --list Deus"),
        {"--equivalents", nullptr,
         "avec --list et --format tsv|csv|html : une colonne « équivalents » après la référence, "
         "les mots du passage français alignés sur l'attestation, tels qu'écrits, le plus probable "
         "d'abord (« dit, a »), séparés par « , » ; « — » quand aucun ne l'est ; vide quand la "
         "référence n'a pas de passage français ; il faut --french. L'alignement est appris sur "
         "les paires de passages des deux textes (IBM 1 puis fast_align dans les deux sens, "
         "joints par grow-diag-final), sur les lemmes français et, avec --lemma, les lemmes "
         "latins (sinon les formes ramenées) ; une paire de plus de 100 mots d'un côté (un "
         "chapitre sous un seul repère) est d'abord coupée là où ses phrases se répondent "
         "(Gale et Church) ; un nom propre écrit de même dans les deux textes "
         "y est aligné sur son homonyme",
         [](CliOptions& o, const std::string&) { o.equivalents = true; return std::string(); },
         "quorvex-cli --latin latin.txt --french francais.txt --equivalents --list caritas"},
        requestRow("--aligned",
         "avec --french-form ou --french-lemma : ne garder que les attestations dont un mot "
         "aligné (celui de la colonne de --equivalents) convient, et non tout le passage français",
         "quorvex-cli --latin latin.txt --french francais.txt --french-lemma parole --aligned --list verbum"),
        requestRow("--side",
         "texte où chercher : latin (par défaut) ou french, le texte français (même découpage, "
         "mêmes règles), chaque attestation avec le passage latin à côté ; le fichier de "
         "résultats et --format donnent alors le passage français d'abord",
         "quorvex-cli --latin latin.txt --french francais.txt --side french --kwic 'charit*'"),
        {"--collocates", "N",
         "les mots des N positions avant et après chaque attestation (1 à 50 ; les marqueurs "
         "n'arrêtent pas la fenêtre, les mots de l'attestation n'y sont pas, deux fenêtres qui "
         "se recouvrent comptent chacune), en minuscules (graphies ramenées avec --normalize) ; "
         "en TSV UTF-8 (CSV avec --format csv) : collocate, cooccurrences (O), frequency (f(c), "
         "dans tout le texte), mi = log2(O × W / (f(n) × f(c) × S)) et log_likelihood = G2 de "
         "Dunning sur a = O, b = f(n) × S − O, c = f(c) − O, d = W − a − b − c, soit 2 × somme de "
         "o × ln(o / e), e tiré des marges, une case vide ou négative comptant 0 (W : mots du "
         "texte, f(n) : attestations, S = 2N) ; trois décimales, classés par log_likelihood "
         "décroissant puis par mot",
         [](CliOptions& o, const std::string& v) {
             std::string e = setAction(o, CliAction::Collocates, "--collocates");
             if (!e.empty())
                 return e;
             if (v.empty() || v.size() > 2 || v.find_first_not_of("0123456789") != std::string::npos
                 || std::stoul(v) < 1 || std::stoul(v) > 50)
                 return "--collocates attend un nombre de mots de 1 à 50, pas « " + v + " ».";
             o.collocateWindow = std::stoul(v);
             return std::string();
         },
         "quorvex-cli --latin latin.txt --collocates 5 Deus"},
        {"--plot", "FICHIER.svg",
         "écrire dans FICHIER.svg l'image de la répartition des attestations : une bande par "
         "première partie des références ([12.3.4] : « 12 ») dans l'ordre du texte, une seule "
         "pour tout le texte sans marqueurs à points ; un trait par attestation, placé selon la "
         "position de son mot parmi ceux de la bande ; à droite le nombre et la fréquence pour "
         "10 000 mots de la bande. Avec --format html, la page porte aussi l'image en tête",
         [](CliOptions& o, const std::string& v) {
             if (v.empty())
                 return std::string("--plot attend un nom de fichier.");
             o.plotPath = v;
             return std::string();
         },
         "quorvex-cli --latin latin.txt --plot deus.svg Deus"},
        {"--translations", nullptr,
         std::string("les lemmes français qui rendent FORME, classés par le nombre d'attestations "
         "alignées sur eux (l'alignement de --equivalents) ; il faut --french. Une attestation "
         "compte une fois pour chaque lemme de ses mots alignés. n : références présentes dans "
         "les deux textes ; pour un lemme, a : références de la recherche dont le passage "
         "français le contient, b : celles qui ne le contiennent pas, c : autres références qui "
         "le contiennent, d = n − a − b − c. En TSV UTF-8 (CSV avec --format csv) : french (le "
         "lemme comme l'écrit le dictionnaire), aligned (attestations alignées sur lui), share "
         "(100 × aligned / attestations ayant un passage français, une décimale), passages (a), "
         "frequency (a+c), log_likelihood (G2 de Dunning sur a, b, c, d, une case vide comptant "
         "0) et dice (2a/(2a+b+c)), trois décimales ; classés par aligned décroissant, puis "
         "log_likelihood, puis lemme ; une dernière ligne « (non traduit) » compte les "
         "attestations alignées sur aucun mot (quand une attestation au moins a un passage "
         "français). Les mots français sont ramenés à un lemme par "
         "Hunspell (/usr/share/hunspell/fr_FR.dic, paquet hunspell-fr, ou --dictionary) : celui "
         "de ses lemmes qui est un mot du texte, sinon le plus fréquent dans le texte ; un mot "
         "inconnu compte pour lui-même. Articles, prépositions, pronoms, auxiliaires et "
         "conjonctions ne comptent pas, sauf avec --all-words ou quand FORME en est un "
         "équivalent latin (sum, habeo, et, autem, non... et, avec --lemma, toute préposition, "
         "conjonction ou pronom du lexique). Les références de la recherche absentes du texte "
         "français ne comptent nulle part et sont nommées sur la sortie d'erreur")
             + (hunspellBuiltIn() ? "" : ". Ce programme est construit sans Hunspell : chaque "
                                         "mot français y compte pour lui-même, en minuscules"),
         [](CliOptions& o, const std::string&) {
             return setAction(o, CliAction::Translations, "--translations");
         },
         "quorvex-cli --latin latin.txt --french francais.txt --translations Deus"},
        {"--top", "N", "avec --translations : écrire les N premiers lemmes (20 par défaut)",
         [](CliOptions& o, const std::string& v) {
             if (v.empty() || v.size() > 7 || v.find_first_not_of("0123456789") != std::string::npos
                 || std::stoul(v) < 1)
                 return "--top attend un nombre de lignes de 1 à 9999999, pas « " + v + " ».";
             o.top = std::stoul(v);
             o.topGiven = true;
             return std::string();
         },
         "quorvex-cli --latin latin.txt --french francais.txt --translations --top 5 caritas"},
        {"--dictionary", "FICHIER.dic",
         "le dictionnaire Hunspell des lemmes français (le fichier .aff de même nom à côté), au "
         "lieu de /usr/share/hunspell/fr_FR.dic",
         [](CliOptions& o, const std::string& v) {
             if (v.empty())
                 return std::string("--dictionary attend un nom de fichier.");
             o.dictionaryPath = v;
             return std::string();
         },
         "quorvex-cli --latin latin.txt --french francais.txt --dictionary fr.dic --translations lux"},
        {"--all-words", nullptr,
         "avec --translations : compter aussi les articles, prépositions, pronoms, auxiliaires "
         "et conjonctions français",
         [](CliOptions& o, const std::string&) { o.allWords = true; return std::string(); },
         "quorvex-cli --latin latin.txt --french francais.txt --all-words --translations Deus"},
        {"--no-cache", nullptr,
         "ne lire ni écrire le cache des lemmes français, des alignements et du lexique lu (dossier "
         "$XDG_CACHE_HOME/quorvex, à défaut ~/.cache/quorvex) : chaque mot est ramené à ses "
         "lemmes, la paire de textes alignée et le lexique lu de nouveau",
         [](CliOptions& o, const std::string&) { o.noCache = true; return std::string(); },
         "quorvex-cli --latin latin.txt --french francais.txt --no-cache --translations Deus"},
        requestRow("--lemma",
         "FORME est un lemme du lexique latin (« dico », « Deus », « uideo », marques de "
         "quantité permises ; « edo » prend tous les homographes, « edo1 » le premier, « edo2 » "
         "le deuxième) : une attestation est un mot dont la forme ramenée (comme avec "
         "--normalize) est une forme du lemme, seule ou suivie de -que, -ne ou -ue ; --list et "
         "--format ajoutent après la référence la colonne des lemmes possibles du mot ; "
         "--collocates compte les mots voisins par lemme (un mot ambigu sous son lemme le plus "
         "fréquent, à égalité le premier du lexique ; un mot inconnu du lexique sous sa forme) ; "
         "avec --frequencies, sans FORME : un lemme par ligne sur tout le texte",
         "quorvex-cli --latin latin.txt --lemma --list dico"),
        requestRow("--lemma-strict",
         "comme --lemma, mais seulement les mots dont la lecture la plus probable dans leur "
         "phrase (l'étiqueteur de tags.la et morphos.fr ; sans eux, le lemme le plus fréquent "
         "du lexique) est de ce lemme",
         "quorvex-cli --latin latin.txt --lemma-strict --count edo"),
        requestRow("--analyses",
         "avec --lemma, --list et --format tsv|csv|html : ajouter la colonne de l'analyse la plus "
         "probable du mot dans sa phrase, avec sa probabilité (« dico, 3ème singulier indicatif "
         "parfait actif, 0.97 »)",
         "quorvex-cli --latin latin.txt --lemma --analyses --list dico"),
        requestRow("--morph",
         "avec --lemma : garder les attestations dont l'analyse la plus probable contient tous "
         "ces mots de morphos.fr (« subjonctif », « ablatif pluriel ») ; un mot inconnu est "
         "refusé avec la liste des mots acceptés",
         "quorvex-cli --latin latin.txt --lemma --morph subjonctif --list dico"),
        {"--lexicon", "DOSSIER",
         "dossier du lexique latin (fichiers modeles.la, lemmes.la... de Collatinus) ; par "
         "défaut : la variable QUORVEX_LEXICON, puis le lexique installé avec quorvex-cli, puis "
         "/usr/share/collatinus/data",
         [](CliOptions& o, const std::string& v) {
             if (v.empty())
                 return std::string("--lexicon attend un nom de dossier.");
             o.lexiconPath = v;
             return std::string();
         },
         "quorvex-cli --latin latin.txt --lexicon ~/collatinus --lemma --count fero"},
        {"--lexicon-extension", nullptr,
         "avec --lemma ou --lexicon-check : lire aussi l'extension du lexique (lem_ext.la, lem_ext.fr)",
         [](CliOptions& o, const std::string&) { o.lexiconExtension = true; return std::string(); },
         "quorvex-cli --latin latin.txt --lemma --lexicon-extension --frequencies"},
        {"--lexicon-check", nullptr,
         "énumérer les lignes du lexique latin qui ne se lisent pas (code de sortie 1 s'il y en a)",
         [](CliOptions& o, const std::string&) {
             return setAction(o, CliAction::LexiconCheck, "--lexicon-check");
         },
         "quorvex-cli --lexicon-check --lexicon-extension"},
        {"--help", nullptr, "afficher cette aide",
         [](CliOptions& o, const std::string&) { o.action = CliAction::Help; return std::string(); },
         "quorvex-cli --help"},
        {"--version", nullptr, "afficher la version et la licence",
         [](CliOptions& o, const std::string&) { o.action = CliAction::Version; return std::string(); },
         "quorvex-cli --version"},
    };
    return table;
}

const OptionRow* findOption(const std::string& name)
{
    if (name == "-h")
        return findOption("--help");
    for (const OptionRow& row : optionTable())
        if (name == row.name)
            return &row;
    return nullptr;
}

// Characters, not bytes: the help is UTF-8.
std::size_t displayWidth(const std::string& s)
{
    std::size_t n = 0;
    for (char c : s)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++n;
    return n;
}

// `text` cut into lines of at most 80 characters, each after `indent`. French spacing keeps
// "«" with the word after it and "»", ":", ";" with the word before.
std::string wrapped(const std::string& text, const std::string& indent)
{
    constexpr std::size_t kWidth = 80;
    std::vector<std::string> words;
    std::size_t from = 0;
    while (from <= text.size()) {
        std::size_t to = text.find(' ', from);
        if (to == std::string::npos)
            to = text.size();
        std::string word = text.substr(from, to - from);
        const bool gluesBack = word == "»" || word == ":" || word == ";" || word == "»,"
            || word == "»)" || word == "»." || word == "»;";
        const bool afterOpeningQuote = !words.empty() && words.back().size() >= 2
            && words.back().compare(words.back().size() - 2, 2, "«") == 0;
        if (!words.empty() && (gluesBack || afterOpeningQuote))
            words.back() += " " + word;
        else if (!word.empty())
            words.push_back(std::move(word));
        from = to + 1;
    }
    std::string out;
    std::string line;
    for (const std::string& w : words) {
        if (!line.empty() && displayWidth(indent + line + " " + w) > kWidth) {
            out += indent + line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + w;
    }
    if (!line.empty())
        out += indent + line + "\n";
    return out;
}

} // namespace

CliParseResult parseCliOptions(const std::vector<std::string>& args)
{
    CliParseResult result;
    CliOptions& o = result.options;
    std::vector<std::string> seen;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            o.operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> value;
        const std::size_t eq = arg.find('=');
        if (arg.compare(0, 2, "--") == 0 && eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        }
        const OptionRow* row = findOption(name);
        if (!row) {
            result.error = "option inconnue : « " + name + " ».";
            return result;
        }
        for (const std::string& s : seen)
            if (s == row->name && !row->repeatable) {
                result.error = std::string("l'option ") + row->name + " est donnée deux fois.";
                return result;
            }
        seen.push_back(row->name);
        if (row->optionalNumber) {
            if (!value && i + 1 < args.size() && !args[i + 1].empty()
                && args[i + 1].find_first_not_of("0123456789") == std::string::npos)
                value = args[++i];
        } else if (row->valueName && !value) {
            if (i + 1 >= args.size()) {
                result.error = std::string("l'option ") + row->name + " attend une valeur ("
                    + row->valueName + ").";
                return result;
            }
            value = args[++i];
        } else if (!row->valueName && value) {
            result.error = std::string("l'option ") + row->name + " ne prend pas de valeur.";
            return result;
        }
        std::string error = row->apply(o, value.value_or(std::string()));
        if (!error.empty()) {
            result.error = std::move(error);
            return result;
        }
    }
    // --format alone exports the attestations; beside another command it shapes its output.
    if (o.format && o.action == CliAction::ResultFile) {
        o.action = CliAction::Export;
        o.actionOption = "--format";
    }
    if (!o.operands.empty())
        o.search.query = o.operands.front();
    result.error = checkOptions(o);
    return result;
}

std::string cliHelpText()
{
    std::string text =
        "Usage : quorvex-cli --latin FICHIER [--french FICHIER] [--title TEXTE] [--date TEXTE]\n"
        "                    [--sort forms|text|left|right] [--output FICHIER]\n"
        "                    [--count | --list | --print-list] [--] FORME\n"
        "        quorvex-cli --latin FICHIER [--french FICHIER] --show REF [--mark FORME]\n"
        "        quorvex-cli --latin FICHIER [--french FICHIER] --print-context REF\n"
        "        quorvex-cli --latin FICHIER [--sort forms|text|left|right] --kwic [N] [--] FORME\n"
        "        quorvex-cli --latin FICHIER [--french FICHIER] [--title TEXTE]\n"
        "                    [--sort forms|text|left|right] --format tsv|csv|html [--output FICHIER] [--] FORME\n"
        "        quorvex-cli --latin FICHIER [--format tsv|csv] --frequencies [--] FORME\n"
        "        quorvex-cli --latin FICHIER [--french FICHIER] --check\n"
        "        quorvex-cli --latin FICHIER [--format csv] --collocates N [--] FORME\n"
        "        quorvex-cli --latin FICHIER --plot FICHIER.svg [--format html [--output FICHIER]] [--] FORME\n"
        "        quorvex-cli --latin FICHIER --french FICHIER --translations [--top N] [--format csv]\n"
        "                    [--dictionary FICHIER.dic] [--all-words] [--output FICHIER] [--] FORME\n"
        "  avec toute commande qui cherche une forme, sauf --frequencies :\n"
        "        [--normalize] [--phrase] [--exclude-form FORME]... [--french FICHIER [--side latin|french]\n"
        "        [--french-form FORME2] [--french-lemma LEMME] [--aligned] [--equivalents [--all-words]]\n"
        "        [--dictionary FICHIER.dic]]\n"
        "  recherche par lemme (sauf avec --phrase et --side french) :\n"
        "        [--lemma | --lemma-strict] [--lexicon DOSSIER] [--lexicon-extension] [--] LEMME\n"
        "        quorvex-cli --latin FICHIER --lemma [--format tsv|csv] --frequencies\n"
        "\n"
        "Recherche FORME dans le texte latin (sans distinction de majuscules ; une « * » sépare\n"
        "un début et une fin : am*, *or, am*or) et écrit le fichier de résultats de la commande\n"
        "« Enregistrer », ou le nombre ou la liste des attestations.\n"
        "Les textes sont lus en Windows-1252 (ou en UTF-8, converti) ; « -- » termine les options.\n"
        "\n"
        "Options :\n";
    for (const OptionRow& row : optionTable()) {
        std::string left = std::string("  ") + row.name;
        if (row.valueName)
            left += std::string(" ") + row.valueName;
        text += left + "\n" + wrapped(row.help, "      ");
        if (row.example)
            text += std::string("      exemple : ") + row.example + "\n";
    }
    text +=
        "\n"
        "Avec --show, la sortie (UTF-8) dit ce que montre la fenêtre de contexte ouverte sur REF :\n"
        "  latin: N           puis les N caractères du passage latin (fins de ligne du texte\n"
        "                     comprises) et une fin de ligne ; « latin: absente » si le texte\n"
        "                     n'a pas la référence (le volet reste vide)\n"
        "  français: N        de même pour le texte français ; « français: sans fichier » sans --french\n"
        "  précédente: REF    la référence du passage latin précédent (vide s'il n'y en a pas)\n"
        "  suivante: REF      la référence du passage latin suivant (vide s'il n'y en a pas)\n"
        "  marques: K         puis K lignes « DÉBUT LONGUEUR » : les occurrences de la forme de\n"
        "                     --mark dans le passage latin, en caractères comptés depuis 0\n"
        "                     (une fin de ligne CR LF compte pour deux)\n"
        "\n"
        "Avec --print-list et --print-context, la sortie (UTF-8) donne une opération d'impression\n"
        "par ligne :\n"
        "  type \"NOM\" TAILLE [bold] [underline]   police, taille en points, gras, souligné\n"
        "  text \"TEXTE\"      imprimer le texte sans finir la ligne (\\r \\n \\t \\\" \\\\ \\xHH)\n"
        "  x TWIPS            position horizontale, en twips depuis le bord gauche\n"
        "  endline            fin de ligne   newpage   nouvelle page   enddoc   fin du document\n"
        "\n"
        "Codes de sortie : 0 réussite (aucune attestation comprise), 1 erreur de fichier,\n"
        "2 erreur dans la ligne de commande, 3 avec --check : les textes ne concordent pas.\n";
    return text;
}

std::string cliVersionText()
{
    return std::string("quorvex-cli (Veltrano - Quorvex) ") + QUORVEX_VERSION + "\n"
        "Copyright © 2026 les auteurs de Veltrano - Quorvex.\n"
        "Licence GPL-3.0-or-later : GNU GPL version 3 ou ultérieure <https://www.gnu.org/licenses/gpl-3.0.html>.\n"
        "Ce programme est un logiciel libre : vous pouvez le redistribuer et le modifier.\n"
        "Il n'y a AUCUNE GARANTIE, dans les limites permises par la loi.\n";
}

} // namespace quorvex
