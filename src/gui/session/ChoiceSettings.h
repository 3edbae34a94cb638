#pragma once
// The reader's choices kept between runs, in an INI file of the user's configuration folder
// (never the registry). The tool windows' filters belong to one list and are not kept.

#include "session/SearchChoices.h"

namespace quorvex {

// The choices last kept; all off when there is no file or it says nothing readable.
SearchChoices readKeptChoices();
// Keeps the menu's choices for the next run.
void keepChoices(const SearchChoices& choices);

} // namespace quorvex
