#include "core/comm/StaleImage.h"

#include <filesystem>

#include "core/codegen/CodeGenerator.h"
#include "core/model/ProgramSet.h"
#include "core/text/TextFile.h"

namespace kavel {
namespace fs = std::filesystem;

namespace {

bool newerThan(const std::string& path, fs::file_time_type image) {
  std::error_code ec;
  const fs::file_time_type t = fs::last_write_time(path, ec);
  return !ec && t > image;
}

std::string fileName(const std::string& path) { return fs::path(path).filename().string(); }

}  // namespace

std::vector<StaleSource> staleImageSources(const ProgramSet& programs, const std::string& hexPath) {
  std::vector<StaleSource> stale;
  std::error_code ec;
  if (!fs::is_regular_file(hexPath, ec)) return stale;
  const fs::file_time_type image = fs::last_write_time(hexPath, ec);
  if (ec) return stale;
  const Program& main = programs.main();
  for (int i = 0; i < ProgramSet::kPrograms; ++i) {
    const Program& p = programs[i];
    if (!p.open && i != 0) continue;
    if (p.modified) {
      stale.push_back({p.caption(), p.path, StaleSource::Why::ModifiedInWindow});
    } else if (!p.path.empty() && newerThan(p.path, image)) {
      stale.push_back({p.caption(), p.path, StaleSource::Why::ChangedOnDisk});
    }
  }
  // The Subs Main calls are read from their files by the build, open or not.
  const std::string folder = main.path.empty() ? std::string() : text::folderOf(main.path);
  for (const CalledSub& call : calledSubs(main)) {
    if (ProgramSet::isValidIndex(call.number) && programs[call.number].open) continue;
    if (call.fileName.empty()) continue;
    std::string path = call.fileName.front() == '/' ? call.fileName : folder + call.fileName;
    if (fs::path(path).extension().empty()) path += kProgramFileExtension;
    if (newerThan(path, image)) stale.push_back({fileName(path), path, StaleSource::Why::ChangedOnDisk});
  }
  return stale;
}

std::string staleImageQuestion(const std::string& hexPath, const std::vector<StaleSource>& sources, int language) {
  const bool jp = language == 0;
  std::string text = jp ? fileName(hexPath) + " はビルドの後で変更されたプログラムと一致しません:\r\n"
                        : fileName(hexPath) + " was built before these programs changed:\r\n";
  for (const StaleSource& s : sources) {
    text += "  " + s.name + (s.why == StaleSource::Why::ModifiedInWindow
                                 ? (jp ? " (ウィンドウで変更、未保存)" : " (changed in its window, not saved)")
                                 : (jp ? " (ビルドの後でファイルが変更)" : " (its file changed after the build)"));
    text += "\r\n";
  }
  text += jp ? "ビルドしてからダウンロードしますか? 古いイメージのままダウンロードすることもできます。"
             : "Build it again and download it, or download the old image anyway?";
  return text;
}

std::vector<std::string> staleImageChoices(int language) {
  if (language == 0) return {"ビルドしてダウンロード", "このままダウンロード", "キャンセル"};
  return {"Build and Download", "Download Anyway", "Cancel"};
}

}  // namespace kavel
