#include "cli/PictureCommand.h"

#include <iostream>

#include "cli/ConsoleProgram.h"
#include "core/model/ProgramFile.h"
#include "core/model/RowText.h"

#ifdef KAVEL_WITH_PICTURE
#include <QFont>
#include <QGuiApplication>

#include "gui/app/Glyphs.h"
#include "gui/editor/ProgramPicture.h"
#include "gui/editor/RowPainter.h"
#endif

namespace kavel::cli {
namespace {

constexpr const char* kPictureUsage =
    "usage: kavel [--ini PATH] [--variant N] [--lang N] picture FILE --out OUT.png|OUT.svg [--sub N] [--lang N]\n";

#ifdef KAVEL_WITH_PICTURE
// The toolkit's notes about the missing desktop session (runtime folder, fonts) are no concern
// of a console user; its real errors still reach standard error.
void quietToolkitNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << "kavel picture: " << message.toStdString() << "\n";
}
#endif

bool takeValue(const std::vector<std::string>& args, std::size_t& i, std::string& value) {
  if (i + 1 >= args.size() || args[i + 1].empty()) return false;
  value = args[++i];
  return true;
}

}  // namespace

int runPicture(const GlobalOptions& global, const std::vector<std::string>& args) {
  GlobalOptions options = global;
  std::vector<std::string> fileNames;
  const std::vector<std::string> optionArgs = splitAtOptionEnd(args, fileNames);
  std::vector<std::string> rest;
  std::string out;
  for (std::size_t i = 0; i < optionArgs.size(); ++i) {
    if (optionArgs[i] == "--out") {
      if (!takeValue(optionArgs, i, out)) {
        std::cerr << "kavel picture: --out needs the picture file to write\n" << kPictureUsage;
        return 1;
      }
    } else if (optionArgs[i] == "--lang") {
      std::string value;
      if (!takeValue(optionArgs, i, value) || !parseInt(value, options.language) || options.language < 0 ||
          options.language > 1) {
        std::cerr << "kavel picture: --lang takes 0 (Japanese) or 1 (English)\n" << kPictureUsage;
        return 1;
      }
    } else {
      rest.push_back(optionArgs[i]);
    }
  }
  rest.insert(rest.end(), fileNames.begin(), fileNames.end());
  std::string file, error;
  int sub = 0;
  if (!parseProgramArguments(rest, file, sub, error)) {
    std::cerr << "kavel picture: " << error << "\n" << kPictureUsage;
    return 1;
  }
  if (out.empty()) {
    std::cerr << "kavel picture: no picture file given (--out OUT.png or --out OUT.svg)\n" << kPictureUsage;
    return 1;
  }
#ifndef KAVEL_WITH_PICTURE
  std::cerr << "kavel picture: this kavel was built without the windows, so it cannot draw pictures\n";
  return 1;
#else
  gui::ProgramPicture::Format format;
  if (!gui::ProgramPicture::formatFor(QString::fromStdString(out), format)) {
    std::cerr << "kavel picture: " << out << " must end in .png or .svg\n" << kPictureUsage;
    return 1;
  }

  auto ctx = makeContext(options);
  const ProgramFileResult result = readForConsole(*ctx, sub, file);
  if (!result.ok) {
    std::cerr << "kavel picture: " << readFailure(result, file) << "\n";
    return 1;
  }

  // Painting text and glyphs needs a GUI application, but never a display: the offscreen
  // platform draws into memory only.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(quietToolkitNotes);
  static int argc = 1;
  static char name[] = "kavel";
  static char* argv[] = {name, nullptr};
  QGuiApplication app(argc, argv);

  QFont buttonFont = QGuiApplication::font();
  buttonFont.setBold(true);
  QFont lineFont = QGuiApplication::font();
  lineFont.setPixelSize(10);
  const gui::Glyphs glyphs(QString::fromStdString(programFolder()));
  const gui::RowPainter painter(glyphs, buttonFont, lineFont);

  const Program& program = ctx->programs[sub];
  gui::PictureRows rows;
  rows.rows = &program.rows();
  const RowTextContext rt = rowTextContextOf(*ctx, sub);
  for (const Statement& row : program.rows()) rows.texts << QString::fromStdString(composeRowText(row, rt));
  const std::uint32_t c = ctx->settings.WSCOLOR;  // 0x00BBGGRR
  rows.workspace = QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));

  if (!gui::ProgramPicture(painter).write(QString::fromStdString(out), rows, &error)) {
    std::cerr << "kavel picture: " << error << "\n";
    return 2;
  }
  return 0;
#endif
}

}  // namespace kavel::cli
