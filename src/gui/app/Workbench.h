#pragma once
// The services every window of kavelide shares, owned by one object that is not a window.
// A new window takes `Workbench&` and `Context&` and finds here what it may use; it listens to
// the signals below instead of calling the main window, which keeps only menus and commands.
//
// What a window gets:
//   prompts()    every question, file choice and modal dialog (tests answer them)
//   glyphs()     the statement icons of the palette and the rows
//   dialogs()    the statement dialogs, created once and reused
//   windows()    the program windows: open and close them, the Window menu, clipboard marks,
//                the save question of a closing Sub, the hooks of the program-file reader
//   armedKind() / disarm()  the palette button armed for insertion
//   fileContext(), nextNewFileName(), paletteWidthIfLeft()
//   frmBuild()   the build window, created once; codeGenHooks() for every generation of User.c
//   link()       the one serial link: the port, its reading and the marks the windows set

#include <QObject>
#include <QString>

#include <memory>
#include <string>

#include "core/Context.h"
#include "core/codegen/CodeGenerator.h"
#include "core/model/ProgramFile.h"

class QWidget;

namespace kavel {
class SerialLink;
}

namespace kavel::gui {

class DialogSet;
class Glyphs;
class Palette;
class ProgramWindows;
class Prompts;
class TfrmBuild;

class Workbench : public QObject {
  Q_OBJECT

 public:
  /// The glyphs come from `programFolder`; the dialogs are children of `dialogParent`.
  Workbench(Context& ctx, Prompts& prompts, const QString& programFolder, QWidget* dialogParent);
  ~Workbench() override;
  Workbench(const Workbench&) = delete;
  Workbench& operator=(const Workbench&) = delete;

  Context& context() { return ctx_; }
  /// Questions, file choices and modal dialogs.
  Prompts& prompts() { return prompts_; }
  /// Statement icons for the palette and the rows.
  const Glyphs& glyphs() const { return *glyphs_; }
  /// The statement dialogs.
  DialogSet& dialogs() { return *dialogs_; }
  /// The program windows of the program set.
  ProgramWindows& windows() { return *windows_; }
  /// The serial link. There is one port for the whole program: the window that needs it opens
  /// it, listens to its signals and closes it again, so a terminal and a download never meet.
  SerialLink& link() { return *link_; }

  /// The palette the windows insert from; the main window hands it over once it is built.
  void setPalette(Palette* palette);
  /// The statement kind of the armed palette button, -1 when none is armed.
  int armedKind() const;
  /// Releases the armed palette button (armChanged follows).
  void disarm();
  /// The palette's width when it is docked on the left, else 0: popups and dialogs open
  /// beside the rows, to the right of it.
  int paletteWidthIfLeft() const;

  /// The records the program-file reader and writer work on.
  ProgramFileContext fileContext();
  /// "NewFile-%02d" with the next free number in the current program folder; remembered as
  /// newFileNumber().
  std::string nextNewFileName();
  int newFileNumber() const { return newFileNumber_; }

  /// The build window, created with the workbench and reused for every build.
  TfrmBuild& frmBuild() { return *build_; }
  /// What a generation of User.c reports to the user: files of another product or an old
  /// version, Sub files that cannot be read, captions of the open program windows.
  CodeGenHooks codeGenHooks();

  /// Shows row `row` of program `program` in its window, as a compiler error chosen in the build
  /// window asks: a Sub window the build closed opens again from the file Main's call names.
  void showProgramRow(int program, int row);

  /// A window says that program `number` was marked modified or saved.
  void notifyModified(int number) { emit programModified(number); }
  /// A window says that what program `number` can undo or redo changed.
  void notifyHistory(int number) { emit historyChanged(number); }

 signals:
  /// The language was switched: windows re-read their texts.
  void languageChanged();
  /// The I/O setup or the Setup option changed: row texts and palette follow.
  void setupChanged();
  /// Program `number` was marked modified or saved (the Save button follows).
  void programModified(int number);
  /// What program `number` can undo or redo changed (the Edit menu follows).
  void historyChanged(int number);
  /// A palette button was armed (its kind) or released (-1).
  void armChanged(int kind);
  /// Program window `number` became the current program.
  void currentChanged(int number);
  /// A program file read asks for the Setup button to be shown or hidden.
  void setupButtonRequested(bool shown);
  /// The build batch file was changed in the build window: menus follow, settings are saved.
  void buildPathChanged();

 private:
  Context& ctx_;
  Prompts& prompts_;
  std::unique_ptr<Glyphs> glyphs_;
  std::unique_ptr<DialogSet> dialogs_;
  std::unique_ptr<ProgramWindows> windows_;
  TfrmBuild* build_ = nullptr;  // a child of the dialog parent
  std::unique_ptr<SerialLink> link_;
  Palette* palette_ = nullptr;
  int newFileNumber_ = 0;
};

}  // namespace kavel::gui
