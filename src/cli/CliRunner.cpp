#include "cli/CliRunner.h"

#include "cli/CheckCommand.h"
#include "cli/CliOptions.h"
#include "cli/CommandCommon.h"
#include "cli/FrequencyCommand.h"
#include "cli/LemmaSearch.h"
#include "cli/PrintContextCommand.h"
#include "cli/SearchRun.h"
#include "cli/ShowCommand.h"
#include "lexicon/LexiconFolder.h"
#include "system/SystemFiles.h"

namespace quorvex {

namespace {

int runAction(const CliOptions& options, std::ostream& out, std::ostream& err);

} // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return runParsedCli(parseCliOptions(args), out, err);
}

int runParsedCli(const CliParseResult& parsed, std::ostream& out, std::ostream& err)
{
    if (!parsed.ok()) {
        // The message may echo an argument in any encoding: shown escaped, stderr stays UTF-8.
        err << "quorvex-cli : " << sys::escapeInvalidUtf8(parsed.error) << '\n'
            << "Essayez « quorvex-cli --help »." << '\n';
        return kExitUsage;
    }
    // The commands name what they were doing when memory ran short; this is the net under
    // whatever they do not name.
    return unlessMemoryRunsShort(err, "cette commande",
                                 [&] { return runAction(parsed.options, out, err); });
}

namespace {

int runAction(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    // Every action that reads the attestation list goes through the one search run; the
    // others have a command each.
    if (options.search.lemma && options.action == CliAction::Frequencies)
        return runLemmaFrequencies(options, out, err);
    if (searches(options.action))
        return runSearch(options, out, err);
    switch (options.action) {
    case CliAction::Help:
        out << cliHelpText();
        return finishOutput(out, err);
    case CliAction::Version:
        // Last, and the one line of it that depends on where the program runs.
        out << cliVersionText()
            << lexicon::describeLexiconInUse(
                   lexicon::lookUpLexicon(lexicon::lexiconPlacesOfThisProgram(options.lexiconPath)))
            << '\n';
        return finishOutput(out, err);
    case CliAction::Show:
        return runShowCommand(options, out, err);
    case CliAction::PrintContext:
        return runPrintContextCommand(options, out, err);
    case CliAction::Frequencies:
        return runFrequencyCommand(options, out, err);
    case CliAction::Check:
        return runCheckCommand(options, out, err);
    case CliAction::LexiconCheck:
        return runLexiconCheck(options, out, err);
    default:
        break;
    }
    return kExitUsage;
}

} // namespace

} // namespace quorvex
