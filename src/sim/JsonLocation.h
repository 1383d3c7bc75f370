#pragma once
// Where a value lies in the text of a JSON document, so that a message about a value that
// parsed but makes no sense can name its line as well as a syntax error does.

#include <string>
#include <string_view>
#include <vector>

namespace kavel::sim {

/// One step into a document: a member by key, or an array element by index.
struct JsonStep {
  std::string key;
  int index = -1;  // an array element when 0 or more
};

/// "lines[2].points[0]" for a message.
std::string jsonPathText(const std::vector<JsonStep>& path);

/// The 1-based line on which the value at `path` starts in `text`, a document that parsed.
/// When the path leads further than the document goes, the line of the deepest value that
/// exists (the object a required member is missing from).
int jsonLineOf(std::string_view text, const std::vector<JsonStep>& path);

}  // namespace kavel::sim
