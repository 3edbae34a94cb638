#include "cli/CliRunner.h"

#include "cli/CheckCommand.h"
#include "cli/CliOptions.h"
#include "cli/CommandCommon.h"
#include "cli/ConcordanceCommand.h"
#include "cli/ExportCommand.h"
#include "cli/FrequencyCommand.h"
#include "cli/KwicCommand.h"
#include "cli/LemmaSearch.h"
#include "cli/PrintListCommand.h"
#include "cli/ReaderSearch.h"
#include "cli/ShowCommand.h"
#include "cli/TranslationsCommand.h"
#include "system/SystemFiles.h"

namespace quorvex {

namespace {

int runAction(const CliOptions& options, std::ostream& out, std::ostream& err);

} // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const CliParseResult parsed = parseCliOptions(args);
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
    if (options.action == CliAction::Translations)
        return runTranslationsCommand(options, out, err);
    if (options.lemma && options.action == CliAction::Frequencies)
        return runLemmaFrequencies(options, out, err);
    // The reader's options (spelling, phrases, both sides) reach every command that searches.
    if (options.action != CliAction::Help && usesReaderSearch(options))
        return runReaderSearchCommand(options, out, err);
    // One command per action; a new action adds its case here.
    switch (options.action) {
    case CliAction::Help:
        out << cliHelpText();
        return finishOutput(out, err);
    case CliAction::Version:
        out << cliVersionText();
        return finishOutput(out, err);
    case CliAction::ResultFile:
    case CliAction::Count:
    case CliAction::List:
    case CliAction::PrintList:
        return runConcordanceCommand(options, out, err);
    case CliAction::Show:
        return runShowCommand(options, out, err);
    case CliAction::PrintContext:
        return runPrintContextCommand(options, out, err);
    case CliAction::Kwic:
        return runKwicCommand(options, out, err);
    case CliAction::Export:
        return runExportCommand(options, out, err);
    case CliAction::Frequencies:
        return runFrequencyCommand(options, out, err);
    case CliAction::Check:
        return runCheckCommand(options, out, err);
    case CliAction::Collocates:
    case CliAction::Plot:
    case CliAction::Translations:
        return runReaderSearchCommand(options, out, err);
    }
    return kExitUsage;
}

} // namespace

} // namespace quorvex
