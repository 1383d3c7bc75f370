// The Debian package as the distribution's tools see it: cpack builds it from the build folder,
// lintian finds no error in it, and the software-centre data and the desktop entry in it pass
// appstreamcli and desktop-file-validate. Skipped where those tools are not installed
// (scripts/setup installs them) and in a sanitizer build, which is never packaged.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <sys/stat.h>

#include "RunProcess.h"

using kavel::testing::runProcess;
using kavel::testing::slurp;
namespace fs = std::filesystem;

namespace {

kavel::testing::ProcessResult shell(const std::string& command) { return runProcess({"/bin/sh", "-c", command}); }

bool have(const std::string& tool) { return shell("command -v " + tool).exitCode == 0; }

std::string quoted(const fs::path& p) { return "'" + p.string() + "'"; }

// The lines of `text` that start with `prefix`.
std::string linesStartingWith(const std::string& text, const std::string& prefix) {
  std::istringstream in(text);
  std::string out;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(prefix, 0) == 0) out += line + "\n";
  }
  return out;
}

}  // namespace

TEST(Package, BuildsAndPassesTheDistributionsChecks) {
  if (KAVEL_SANITIZED) GTEST_SKIP() << "a sanitizer build is not packaged";
  for (const char* tool : {"cpack", "dpkg-deb", "lintian", "appstreamcli", "desktop-file-validate"}) {
    if (!have(tool)) GTEST_SKIP() << tool << " is not installed (scripts/setup installs it)";
  }
  std::string tmpl = (fs::temp_directory_path() / "kavel-package-XXXXXX").string();
  ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
  const fs::path dir = tmpl;

  const auto pack = runProcess({KAVEL_CPACK_COMMAND, "-G", "DEB", "-B", (dir / "out").string(), "--config",
                                KAVEL_BUILD_DIR "/CPackConfig.cmake"},
                               KAVEL_BUILD_DIR);
  ASSERT_EQ(pack.exitCode, 0) << pack.out << pack.err;
  fs::path deb;
  for (const auto& e : fs::directory_iterator(dir / "out")) {
    if (e.path().extension() == ".deb") deb = e.path();
  }
  ASSERT_FALSE(deb.empty()) << pack.out;

  const auto lint = shell("lintian --no-tag-display-limit " + quoted(deb));
  EXPECT_EQ(linesStartingWith(lint.out + lint.err, "E: "), "") << lint.out << lint.err;

  const fs::path root = dir / "root";
  const auto unpack = shell("dpkg-deb -x " + quoted(deb) + " " + quoted(root));
  ASSERT_EQ(unpack.exitCode, 0) << unpack.err;
  const auto appstream =
      shell("appstreamcli validate --no-net " + quoted(root / "usr/share/metainfo/org.example.kavel.metainfo.xml"));
  EXPECT_EQ(appstream.exitCode, 0) << appstream.out << appstream.err;
  const auto tree = shell("appstreamcli validate-tree --no-net " + quoted(root));
  EXPECT_EQ(tree.exitCode, 0) << tree.out << tree.err;
  const auto desktop = shell("desktop-file-validate " + quoted(root / "usr/share/applications/kavelide.desktop"));
  EXPECT_EQ(desktop.exitCode, 0) << desktop.out << desktop.err;

  // The package's sample build folder names its tool chain where the package puts it.
  const std::string bat = slurp((root / "usr/share/kavel/Build/Build_V190617/BuildPath.Bat").string());
  EXPECT_EQ(bat.rfind("PATH=/usr/lib/kavel/Build_V190617/bin:\n", 0), 0u) << bat;
  for (const char* tool : {"kcc8", "kcc8-traditional", "kcc8-extended"}) {
    struct stat st {};
    EXPECT_EQ(::stat((root / "usr/lib/kavel/Build_V190617/bin" / tool).c_str(), &st), 0) << tool;
    EXPECT_TRUE(st.st_mode & S_IXUSR) << tool;
  }
  if (!HasFailure()) fs::remove_all(dir);
}
