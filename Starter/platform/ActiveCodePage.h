// The rule by which the ANSI code page in use makes characters of bytes: the
// one every path and caption of the starter is read by.
#pragma once

#include "shared/CodePageText.h"

namespace platform {

// Asked of the system once; the ANSI code page is fixed for the life of the
// process.
const CodePageRule& ActiveCodePageRule();

}  // namespace platform
