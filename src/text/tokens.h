// tokens.h - the token reader, as the floors above use it: lines split into
// words (words.h), words classified (wordkinds.h), and words read as numbers
// (numbers.h), data rows in one pass (quicknumbers.h).
#pragma once

#include "text/numbers.h"
#include "text/quicknumbers.h"
#include "text/wordkinds.h"
#include "text/words.h"

namespace gridel::text {


}  // namespace gridel::text
