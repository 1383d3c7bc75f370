#pragma once
// The example programs shipped in the data folder's examples/ and the index that lists them for
// File > Examples: their titles in both languages, what each shows, the sample world to
// simulate it in and the Sub program files it needs beside it.

#include <string>
#include <vector>

namespace kavel {

struct ExampleEntry {
  std::string file;     ///< the Main program's file name in the examples folder
  std::string titleEn;  ///< the menu entry in English
  std::string titleJa;  ///< the menu entry in Japanese (UTF-8)
  std::string aboutEn;  ///< one sentence on what it shows
  std::string aboutJa;
  std::string world;    ///< a file name in the worlds folder; "" for the default field
  bool moves = false;   ///< the robot drives in the simulator without a game pad
  std::vector<std::string> subs;  ///< Sub program files the Main calls, beside it

  /// The title in `language` (0 Japanese, 1 English); the English one when Japanese is missing.
  const std::string& title(int language) const;
  /// Every file that makes up the example: the Main program first, then its Subs. Copying an
  /// example means copying all of them into one folder.
  std::vector<std::string> files() const;
};

/// The examples folder of a data folder ("…/share/kavel/" or build/bin/): "<data>examples/".
std::string examplesFolder(const std::string& dataFolder);
/// The sample worlds' folder of a data folder: "<data>worlds/".
std::string worldsFolder(const std::string& dataFolder);

/// Reads the index at `path` (examplesFolder() + "index.ini"): sections named by the Main file
/// in the order of the menu, keys title_en, title_ja, about_en, about_ja, world, moves (yes/no)
/// and subs (space-separated); lines starting with ";" or "#" are comments. A section without
/// title_en, a key the index does not have, a file name with a folder in it or a section named
/// twice is refused. False with `error` naming the file, the line and what is wrong; `entries`
/// is then empty.
bool readExampleIndex(const std::string& path, std::vector<ExampleEntry>& entries, std::string* error);

}  // namespace kavel
