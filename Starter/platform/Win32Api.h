// The Win32 API as the starter uses it: the ANSI forms, Win32's own types.
// On Windows this is the real thing; on Linux it is the simulated desktop,
// which declares the same names. Nothing outside platform/ includes
// windows.h: everything goes through this header.
#pragma once

#ifdef _WIN32
#  ifndef WIN32_LEAN_AND_MEAN
#    define WIN32_LEAN_AND_MEAN
#  endif
#  ifndef NOMINMAX
#    define NOMINMAX
#  endif
#  include <windows.h>
#  include <shellapi.h>
#else
#  include "platform/sim/SimWin32.h"
#endif
