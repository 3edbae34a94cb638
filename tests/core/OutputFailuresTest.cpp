// Every system call of a save and of an export failed in turn (first, second and last
// occurrence), with and without nameless temporary files: the old file stays intact, nothing
// is left behind, and the message names the file in French.

#include "concordance/ResultList.h"
#include "concordance/WordTable.h"
#include "output/ExportFormats.h"
#include "output/ResultFile.h"
#include "system/SystemFiles.h"
#include "text/TextFile.h"

#include "support/FailingPosixCalls.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <iostream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace quorvex {
namespace {

using namespace testsupport;

const std::string kOld = "the old result\r\n";

// The errno a call most plausibly fails with.
int likelyError(PosixCall call)
{
    switch (call) {
    case PosixCall::Write:
    case PosixCall::Pwrite:
        return ENOSPC;
    case PosixCall::Rename:
    case PosixCall::LinkOpenFile:
        return EXDEV;
    case PosixCall::OpenUnnamed:
        return EOPNOTSUPP;
    default:
        return EIO;
    }
}

bool canFail(PosixCall call)
{
    return call != PosixCall::Geteuid && call != PosixCall::Getegid && call != PosixCall::FileSizeLimit;
}

// Calls whose failure runs no cleanup of ours: where std::bad_alloc can come from.
bool canRunShortOfMemory(PosixCall call)
{
    return call == PosixCall::Open || call == PosixCall::OpenUnnamed || call == PosixCall::Write
        || call == PosixCall::Stat || call == PosixCall::Fstat || call == PosixCall::Rename
        || call == PosixCall::LinkOpenFile;
}

struct Sweep {
    std::size_t points = 0;
    std::size_t failures = 0;  // points where the output was refused
};

// Runs `save` into `output` (a file holding kOld in `dir`) once per failure point.
Sweep sweep(const TempDir& dir, const std::string& output, const std::vector<std::string>& inputs,
            const std::function<FileError()>& save, bool unnamed)
{
    Sweep result;
    FailingPosixCalls calls;
    if (!unnamed)
        calls.failAlways(PosixCall::OpenUnnamed, EOPNOTSUPP);
    dir.write("out.txt", kOld);
    const std::size_t entries = dir.entries();
    EXPECT_FALSE(save()) << "dry run";
    const std::string expected = slurp(output);
    std::array<std::size_t, kPosixCallKinds> seen{};
    for (std::size_t k = 0; k < seen.size(); ++k)
        seen[k] = calls.count(static_cast<PosixCall>(k));

    for (std::size_t k = 0; k < seen.size(); ++k) {
        const auto call = static_cast<PosixCall>(k);
        if (!canFail(call) || (call == PosixCall::OpenUnnamed && !unnamed))
            continue;
        for (const std::size_t at : std::set<std::size_t>{1, 2, seen[k]}) {
            if (at == 0 || at > seen[k])
                continue;
            std::vector<int> errors{likelyError(call), EINTR};
            if (canRunShortOfMemory(call))
                errors.push_back(kThrowBadAlloc);
            for (const int err : errors) {
                const std::string row = std::string(unnamed ? "unnamed " : "named ") + posixCallName(call)
                    + " #" + std::to_string(at) + " errno " + std::to_string(err);
                calls.reset();
                if (!unnamed)
                    calls.failAlways(PosixCall::OpenUnnamed, EOPNOTSUPP);
                dir.write("out.txt", kOld);
                calls.failAt(call, at, err);
                FileError e;
                try {
                    e = save();
                } catch (const std::exception& ex) {
                    ADD_FAILURE() << row << ": escaped " << ex.what();
                }
                ++result.points;
                EXPECT_TRUE(calls.fired()) << row;
                EXPECT_EQ(dir.entries(), entries) << row << ": something was left behind";
                EXPECT_EQ(sys::liveTemporaryFileCount(), 0u) << row;
                const std::string now = slurp(output);
                if (!e) {
                    EXPECT_EQ(now, expected) << row;
                    continue;
                }
                ++result.failures;
                EXPECT_EQ(now, kOld) << row << ": the old file must be intact";
                const std::string message = describeFileError(e);
                bool named = message.find(output) != std::string::npos;
                for (const std::string& input : inputs)
                    named = named || message.find(input) != std::string::npos;
                EXPECT_TRUE(named) << row << ": " << message;
                EXPECT_EQ(message.find("erreur système"), std::string::npos) << row << ": " << message;
                EXPECT_EQ(sys::escapeInvalidUtf8(message), message) << row;
            }
        }
    }
    return result;
}

TEST(OutputFailures, ASaveAndAnExportSurviveEveryFailingCall)
{
    TempDir dir;
    const std::string latinText = "Prooemium. [1] Puer rosam amat.\r\n[2] Puella rosam videt.\r\n";
    const std::string latin = dir.write("latin.txt", latinText);
    const std::string french = dir.write("french.txt", "[1] Le gar\xE7on aime la rose.\r\n[2] La fille.\r\n");
    const std::string output = dir.file("out.txt");
    const WordTable table = WordTable::segment(latinText);
    const ResultList results = findForms(table, "rosam");

    const auto save = [&] {
        return saveResultFile(output, table, results, "Essai", "04/12/2026 11:25:50", latin, french);
    };
    const std::string frenchText = slurp(french);
    const ExportHeading heading{"Essai", "rosam"};
    const auto exportTsv = [&] {
        WriteControl control;
        control.expectedSize = static_cast<std::int64_t>(
            attestationExportSize(ExportFormat::Tsv, table, results, latinText, &frenchText, heading));
        control.latinPath = latin;
        control.frenchPath = french;
        return writeFileReplacing(output, [&](std::ostream& out) {
            writeAttestationExport(out, ExportFormat::Tsv, table, results, latinText, &frenchText, heading);
            return static_cast<bool>(out);
        }, control);
    };

    std::size_t points = 0, failures = 0;
    for (const bool unnamed : {true, false}) {
        for (const auto& [name, run] : {std::pair<const char*, std::function<FileError()>>{"save", save},
                                        {"export", exportTsv}}) {
            SCOPED_TRACE(name);
            const Sweep s = sweep(dir, output, {latin, french}, run, unnamed);
            EXPECT_GE(s.points, 20u);
            EXPECT_GT(s.failures, 0u);
            points += s.points;
            failures += s.failures;
        }
    }
    RecordProperty("points", static_cast<int>(points));
    RecordProperty("refused", static_cast<int>(failures));
    std::cout << "failed " << points << " calls, " << failures << " outputs refused\n";
}

} // namespace
} // namespace quorvex
