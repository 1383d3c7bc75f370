#pragma once
// Whether a HEX image still matches the program set it was built from: a program changed in
// its window, or a program file changed on disk after the image was written, make it stale.
// The download asks before it sends such an image.

#include <string>
#include <vector>

namespace kavel {

class ProgramSet;

struct StaleSource {
  enum class Why { ModifiedInWindow, ChangedOnDisk };
  std::string name;  // "Main - [ robot ]", or the file of a Sub that is not open ("Grab.Kvl")
  std::string path;  // the program file, empty when it has none
  Why why = Why::ModifiedInWindow;
};

/// What makes the image at `hexPath` stale: each open program of `programs` that is modified,
/// and Main's file and the file of every Sub that Main calls when written after the image.
/// Subs named by a file without a folder are looked for beside Main's file. Empty when the
/// image is up to date, and when there is no image file to compare with (sending it fails
/// on its own then).
std::vector<StaleSource> staleImageSources(const ProgramSet& programs, const std::string& hexPath);

/// The question before a stale image is sent, in `language` (0 Japanese, else English): which
/// programs changed and how, and the three choices.
std::string staleImageQuestion(const std::string& hexPath, const std::vector<StaleSource>& sources, int language);

/// The captions of the question's buttons: build and download, download anyway, cancel.
std::vector<std::string> staleImageChoices(int language);

}  // namespace kavel
