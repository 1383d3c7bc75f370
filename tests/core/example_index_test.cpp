// The index of the example programs that File > Examples lists: how it is read, what it refuses,
// and that the shipped index and the files in the examples folder agree.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "core/shell/ExampleIndex.h"

using namespace kavel;
namespace fs = std::filesystem;

namespace {

class IndexFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "kavel-examples-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string write(const std::string& text) {
    const std::string path = (dir_ / "index.ini").string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  fs::path dir_;
};

}  // namespace

TEST_F(IndexFile, ReadsEntriesInMenuOrder) {
  const std::string path = write(
      "; comment\r\n[Second.Kvl]\r\ntitle_en=Second\r\ntitle_ja=二番目\r\nworld=open_field.json\r\nmoves=yes\r\n"
      "\r\n[First.Kvl]\ntitle_en = First \nsubs=Sub_A.Kvl  Sub_B.Kvl\n# another comment\nmoves=no\n");
  std::vector<ExampleEntry> entries;
  std::string error;
  ASSERT_TRUE(readExampleIndex(path, entries, &error)) << error;
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].file, "Second.Kvl");
  EXPECT_EQ(entries[0].title(0), "二番目");
  EXPECT_EQ(entries[0].title(1), "Second");
  EXPECT_EQ(entries[0].world, "open_field.json");
  EXPECT_TRUE(entries[0].moves);
  EXPECT_EQ(entries[1].title(0), "First") << "no Japanese title: the English one";
  EXPECT_EQ(entries[1].world, "");
  EXPECT_FALSE(entries[1].moves);
  EXPECT_EQ(entries[1].files(), (std::vector<std::string>{"First.Kvl", "Sub_A.Kvl", "Sub_B.Kvl"}));
}

TEST_F(IndexFile, RefusesWhatTheMenuCouldNotUseAndNamesTheLine) {
  struct Case {
    const char* text;
    const char* says;
  };
  const Case cases[] = {
      {"[A.Kvl]\ntitle_en=A\ncolour=red\n", "index.ini:3: unknown key \"colour\""},
      {"[A.Kvl]\nworld=x.json\n", "A.Kvl has no title_en"},
      {"[A.Kvl]\n[B.Kvl]\ntitle_en=B\n", "index.ini:2: the example before this line has no title_en"},
      {"[../A.Kvl]\ntitle_en=A\n", "index.ini:1: \"../A.Kvl\" is not a file name of the examples folder"},
      {"[A.Kvl]\ntitle_en=A\nworld=/etc/passwd\n", "index.ini:3: \"/etc/passwd\" is not a file name"},
      {"[A.Kvl]\ntitle_en=A\nsubs=ok.Kvl sub/x.Kvl\n", "index.ini:3: \"sub/x.Kvl\" is not a file name"},
      {"[A.Kvl]\ntitle_en=A\n[A.Kvl]\ntitle_en=B\n", "index.ini:3: A.Kvl is listed twice"},
      {"[A.Kvl]\ntitle_en=A\nmoves=maybe\n", "index.ini:3: moves is yes or no"},
      {"title_en=A\n", "index.ini:1: a key before the first [File.Kvl] section"},
      {"[A.Kvl\n", "index.ini:1: a section name needs its closing"},
      {"[A.Kvl]\ntitle_en A\n", "index.ini:2: expected key=value"},
  };
  for (const Case& c : cases) {
    std::vector<ExampleEntry> entries{ExampleEntry{}};
    std::string error;
    EXPECT_FALSE(readExampleIndex(write(c.text), entries, &error)) << c.text;
    EXPECT_NE(error.find(c.says), std::string::npos) << c.text << "\n" << error;
    EXPECT_TRUE(entries.empty()) << c.text;
  }
  std::vector<ExampleEntry> entries;
  std::string error;
  EXPECT_FALSE(readExampleIndex((dir_ / "missing.ini").string(), entries, &error));
  EXPECT_NE(error.find("missing.ini"), std::string::npos) << error;
}

TEST(ShippedExamples, IndexAndFolderAgree) {
  const std::string data = KAVEL_SOURCE_DIR "/data/";
  std::vector<ExampleEntry> entries;
  std::string error;
  ASSERT_TRUE(readExampleIndex(examplesFolder(data) + "index.ini", entries, &error)) << error;
  EXPECT_GE(entries.size(), 12u);

  std::set<std::string> listed;
  for (const ExampleEntry& e : entries) {
    EXPECT_FALSE(e.titleJa.empty()) << e.file;
    EXPECT_FALSE(e.aboutEn.empty()) << e.file;
    EXPECT_FALSE(e.aboutJa.empty()) << e.file;
    if (e.moves) {
      EXPECT_FALSE(e.world.empty()) << e.file << " moves, so it names a world to move in";
    }
    if (!e.world.empty()) {
      EXPECT_TRUE(fs::is_regular_file(worldsFolder(data) + e.world)) << e.world;
    }
    for (const std::string& f : e.files()) {
      EXPECT_TRUE(fs::is_regular_file(examplesFolder(data) + f)) << f;
      EXPECT_TRUE(listed.insert(f).second) << f << " belongs to two examples";
    }
  }
  for (const auto& f : fs::directory_iterator(examplesFolder(data))) {
    if (f.path().extension() == ".Kvl") {
      EXPECT_TRUE(listed.count(f.path().filename().string())) << f.path() << " is in no example";
    }
  }
}
