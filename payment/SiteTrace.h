#pragma once
// The payment module's trace lines: the message followed by the trace site, as
// "<message>::[<source file name>][<line>]", written through the programs' debug output.
#include <string>

namespace lodgeview {

// The site defaults to the caller's.
void TraceWithSite(const std::string& message, const char* file = __builtin_FILE(), int line = __builtin_LINE());

} // namespace lodgeview
