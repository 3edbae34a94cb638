#pragma once
// The lexicon's tables as one block of bytes, an image (internal to lexicon/): what a parse
// makes and the queries read where it lies, and what Lexicon::load keeps in the cache folder
// so that the next run maps it instead of parsing the data files again. There, the lines the
// reader could not read follow the tables (by their file's number in the list of files the
// load read), so that a load from the image says what a parse says.

#include "lexicon/LexiconData.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvex::lexicon {

// What makes images of one program alike: the layout's number and a digest of the sources
// that read the data files, so that a program that reads them otherwise makes its own.
std::string lexiconImageVersion();

// The image of `tables`; with `malformed`, followed by those problems. Empty when a problem
// names a file not in `files`.
std::string writeLexiconImage(const LexiconTables& tables, const std::vector<LexiconProblem>* malformed,
                              const std::vector<std::string>& files);

// Points the views of `into` at the tables of `image` (which must outlive them), and with
// `malformed` appends the problems that follow them. False when the bytes are no whole,
// consistent image of this layout: every index is checked, so damaged bytes cannot send a
// lookup out of its arrays.
bool readLexiconImage(std::string_view image, LexiconData& into, std::vector<LexiconProblem>* malformed,
                      const std::vector<std::string>& files);

} // namespace quorvex::lexicon
