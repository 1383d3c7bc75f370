#include <gtest/gtest.h>

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QSvgRenderer>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "TempFolder.h"
#include "RunProcess.h"

using kavel::testing::runProcess;
namespace fs = std::filesystem;

namespace {

const std::string kKavel = KAVEL_BIN_DIR "/kavel";
const std::string kEvery = KAVEL_TEST_DATA "/build/every.Kvl";  // every statement kind, 61 rows
const std::string kTurn = KAVEL_TEST_DATA "/build/Turn.Kvl";
constexpr int kEveryRows = 61;

// The picture's height follows the program window's geometry: 8 above the first row, 30 per
// row, 8 below the last.
int heightFor(int rows) { return 8 + 30 * rows + 8; }

class KavelPicture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Only this test process reads the pictures back; kavel itself must need no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "picture_test";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QGuiApplication>(argc, argv);
  }
  // The application must go before the program's static objects do.
  static void TearDownTestSuite() { app_.reset(); }
  std::string path(const std::string& name) const { return (dir / name).string(); }

  static std::unique_ptr<QGuiApplication> app_;
  kavel::testing::TempFolder temp_{"kavel-cli-picture"};
  fs::path dir = temp_.path();
};

std::unique_ptr<QGuiApplication> KavelPicture::app_;

TEST_F(KavelPicture, DrawsEveryRowWithoutADisplay) {
  // Even told to use a display server that is not there, the command draws offscreen.
  const char* display = std::getenv("DISPLAY");
  const std::string saved = display ? display : "";
  ::unsetenv("DISPLAY");
  ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  const auto r = runProcess({kKavel, "picture", kEvery, "--out", path("every.png"), "--lang", "1"});
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (display) ::setenv("DISPLAY", saved.c_str(), 1);
  ASSERT_EQ(r.exitCode, 0) << r.err;

  QImage image(QString::fromStdString(path("every.png")));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.height(), heightFor(kEveryRows));
  EXPECT_GE(image.width(), 24 + 80 + 240) << "a row needs its line number, icon and value button";
  // The workspace colour of the default settings around the rows.
  EXPECT_EQ(image.pixelColor(image.width() - 2, image.height() - 2), QColor(0xC0, 0xDC, 0xC0));
  // Each row's buttons: the icon button of row 1 sits at x 24, the rows below follow every 30.
  for (int row : {0, kEveryRows / 2, kEveryRows - 1}) {
    int nonBackground = 0;
    const int y = 8 + 30 * row + 15;
    for (int x = 0; x < image.width(); ++x) nonBackground += image.pixelColor(x, y) != QColor(0xC0, 0xDC, 0xC0);
    EXPECT_GT(nonBackground, 80) << "row " << row + 1 << " is not painted";
  }
}

TEST_F(KavelPicture, RowTextsFollowTheLanguageAndSvgParses) {
  const auto english = runProcess({kKavel, "picture", kEvery, "--out", path("en.png"), "--lang", "1"});
  const auto japanese = runProcess({kKavel, "--lang", "1", "picture", kEvery, "--out", path("ja.png"), "--lang", "0"});
  const auto svg = runProcess({kKavel, "picture", kEvery, "--out", path("every.SVG"), "--lang", "1"});
  ASSERT_EQ(english.exitCode, 0) << english.err;
  ASSERT_EQ(japanese.exitCode, 0) << japanese.err;
  ASSERT_EQ(svg.exitCode, 0) << svg.err;
  const QImage en(QString::fromStdString(path("en.png")));
  const QImage ja(QString::fromStdString(path("ja.png")));
  ASSERT_EQ(en.size(), ja.size());
  // Row 25 is an endless While: "Infinite Loop" in English, its Japanese text otherwise.
  const QRect row25(0, 8 + 30 * 24, en.width(), 30);
  EXPECT_NE(en.copy(row25), ja.copy(row25)) << "the command's --lang wins over the global one";
  const QRect row3(0, 8 + 30 * 2, en.width(), 30);
  EXPECT_EQ(en.copy(row3), ja.copy(row3)) << "a motor row reads alike in both languages";

  QSvgRenderer renderer(QString::fromStdString(path("every.SVG")));
  ASSERT_TRUE(renderer.isValid());
  EXPECT_EQ(renderer.viewBox(), QRect(QPoint(0, 0), en.size()));
}

TEST_F(KavelPicture, ASubProgramIsDrawnAsItsWindowShowsIt) {
  const auto r = runProcess({kKavel, "picture", kTurn, "--sub", "1", "--out", path("turn.png")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  int rows = 0;
  std::ifstream in(kTurn);
  for (std::string line; std::getline(in, line);) rows += line.starts_with("[") && !line.starts_with("[0000]");
  EXPECT_EQ(QImage(QString::fromStdString(path("turn.png"))).height(), heightFor(rows));
}

TEST_F(KavelPicture, FailuresNameTheFileAndTheReason) {
  std::ofstream(path("text.Kvl")) << "hello\n";
  std::ofstream(path("plain")) << "a file, not a folder\n";
  fs::create_directories(path("folder.png"));
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string says;
  } cases[] = {
      {{"picture", kEvery}, 1, "--out"},
      {{"picture", "--out", path("x.png")}, 1, "no program file given"},
      {{"picture", kEvery, "--out", path("x.jpg")}, 1, ".png or .svg"},
      {{"picture", kEvery, "--out", path("x.png"), "--lang", "2"}, 1, "--lang"},
      {{"picture", kEvery, "--out", path("x.png"), "--sub", "31"}, 1, "1 to 30"},
      {{"picture", path("none.Kvl"), "--out", path("x.png")}, 1, path("none.Kvl")},
      {{"picture", path("text.Kvl"), "--out", path("x.png")}, 1, "not a Kavel program file"},
      {{"picture", kEvery, "--out", path("no/such/folder/x.png")}, 2, path("no/such/folder/x.png")},
      {{"picture", kEvery, "--out", path("plain/x.svg")}, 2, path("plain/x.svg")},
      {{"picture", kEvery, "--out", path("folder.png")}, 2, "it is a folder"},
  };
  for (Case& c : cases) {
    c.args.insert(c.args.begin(), kKavel);
    const auto r = runProcess(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.says << "\n" << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
  }
  EXPECT_FALSE(fs::exists(path("x.png")));
  EXPECT_FALSE(fs::exists(path("x.jpg")));
}

}  // namespace
