#pragma once
// The I/O setup as a C-code program carries it: comment lines at the top of the source,
// "// SetupVal:%06d-%06d-%06d,cmt:%s" and "// CN%02d:%s", above the #include lines.

#include <string>
#include <vector>

#include "core/setup/IoSetup.h"

namespace kavel {

/// The setup comment lines of a header block: the SetupVal line, then CN01..CN10.
std::vector<std::string> setupHeaderLines(const SetupRecord& record, const IoSetup& io);

/// Scans `lines` from the top up to the first line beginning "#include". A SetupVal line sets
/// `record` (values, comment; kind 8 when the second value is 10 or more, else 7; fields that
/// are not numbers take 111111, 110000 and 0) and decodes it into `io`. A "CN" line names the
/// connector it gives (a number that does not read gives CN1; one outside 1..10 is ignored).
/// True when a SetupVal line was found.
bool readSetupFromCSource(const std::vector<std::string>& lines, IoSetup& io, SetupRecord& record);

/// `source` with its header replaced by `header`: the lines from the top up to and including
/// the first line beginning "//--------" after a line beginning "#include" are removed, and
/// `header` goes on top. A source without such a line keeps all its lines below the new header,
/// so no user code is ever dropped.
std::vector<std::string> replaceCSourceHeader(const std::vector<std::string>& source,
                                              const std::vector<std::string>& header);

}  // namespace kavel
