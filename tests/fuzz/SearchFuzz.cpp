// Segmentation and search: any text and any query give a list whose rows are attestations of
// forms that stand in the text, and sorting keeps every row.

#include "FuzzInput.h"

#include "concordance/ResultList.h"
#include "concordance/WordTable.h"

using namespace quorvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FuzzInput in(data, size);
    const std::string query = in.field();
    const std::string text = in.rest();
    const WordTable table = WordTable::segment(text);
    fuzz::check(table.text() == text, "the table keeps the text");
    ResultList results = findForms(table, query);
    fuzz::check(results.size() == countForms(table, query), "the count is the list's size");
    fuzz::check(results.size() <= table.size(), "no more attestations than words");
    for (const Attestation& a : results) {
        const std::string form = attestationForm(table, a);
        fuzz::check(!form.empty() && text.find(form) != std::string::npos, "a form stands in the text");
    }
    const std::size_t found = results.size();
    sortResults(table, results, SortKeys::FormThenReference);
    fuzz::check(results.size() == found, "sorting keeps every row");
    return 0;
}
