#pragma once
// Turns the program set into C: User.c for a build (Main's function preceded by the function of
// every Sub that Main calls, each Sub read from its file), the code view of one program, and the
// header block of a program kept as C source. Also writes the configuration header M_Type.h.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Context.h"
#include "core/codegen/CodeBuffer.h"
#include "core/model/ProgramFile.h"

namespace kavel {

struct CodeGenOptions {
  /// The build folder as the "// Build:" line names it; empty: the folder of BatFile_.
  std::string buildFolder;
  /// Where a build writes M_Type.h and User.c; empty: the build folder.
  std::string outputFolder;
  /// The build window's "PwrOn Run" box.
  bool pwrOnRun = false;
  /// The main window's caption; empty: mainWindowTitle().
  std::string mainWindowCaption;
  /// The folder Sub file names without a folder are read from (the build makes the current
  /// program folder the working folder); empty: the folder of Main's file.
  std::string subFolder;
};

/// What the windows do around generation. Every hook may be left empty.
struct CodeGenHooks {
  /// A Sub program that is not open is about to be read for a build: its window opens.
  std::function<void(int sub)> openSubWindow;
  /// A Sub program's function has been generated: its window closes, open before or not.
  std::function<void(int sub)> closeSubWindow;
  /// Reading a program file failed (a Sub: its function gets an empty body; 0: Main's re-read).
  std::function<void(int program, const std::string& path, const std::string& error)> readFailed;
  /// A generated file could not be written: title "File Error", the fixed text, and the path
  /// with the system's reason. Generation goes on.
  std::function<void(const std::string& title, const std::string& text, const std::string& detail)> fileError;
  /// The caption of a program's window; empty: Program::caption().
  std::function<std::string(const Program& program)> windowCaption;
  /// Passed to the program file reader for every file a build reads.
  ProgramFileHooks fileHooks;
};

/// A Sub program Main calls and the file name its first call names.
struct CalledSub {
  int number = 0;
  std::string fileName;
};

inline constexpr const char* kFileErrorTitle = "File Error";
inline constexpr const char* kFileWriteErrorText = "Can't perform one of the following file operations: Open, Write, Close.";

class CodeGenerator {
 public:
  CodeGenerator(Context& ctx, CodeGenOptions options = {}, CodeGenHooks hooks = {});

  /// Regenerates `target` from the current program. For the build buffer it first sets
  /// `interruptInUse` (Main calls Sub-30) and makes the configuration header; with Main current
  /// it also generates every Sub that Main calls (reading each from its file, making it current,
  /// then closing it) and re-reads Main from its file; finally it writes M_Type.h and User.c,
  /// both or neither. False when they could not be written (already reported through
  /// `fileError`).
  bool GenerateCode(CodeBuffer& target);
  /// The same for program `program` (0 Main, 1..30 Sub-N) without making it current: what a
  /// program window's code view shows. The build buffer still works from the current program.
  bool GenerateCode(CodeBuffer& target, int program);

  /// Clears `target` and writes the header block: the short form for the code view, the full
  /// form (title of the current program) for the other targets.
  void WriteHeaderBlock(CodeBuffer& target) const;
  /// The same with the title of program `program`.
  void WriteHeaderBlock(CodeBuffer& target, int program) const;

  /// Clears `target` and fills it with the configuration header; for the build buffer also
  /// writes it to M_Type.h. False when that file could not be written.
  bool WriteConfigHeader(CodeBuffer& target);

  /// For a program kept as C source: writes the configuration header M_Type.h and `userSource`
  /// as User.c into the output folder, both or (when one cannot be written) neither. False,
  /// reported through `fileError`, when they were not written.
  bool WriteBuildFiles(const std::string& userSource);

  /// Writes the lines of `buffer` to `path` without their prefixes, CR LF after each, replacing
  /// the file atomically. False (reported through `fileError`) when that fails.
  bool WriteGeneratedFile(const CodeBuffer& buffer, const std::string& path);

  /// Clears `target` and writes a new C-code program: the full header block, then an empty
  /// user_main.
  void WriteCSkeleton(CodeBuffer& target) const;
  /// The same with the title of program `program` in the header block.
  void WriteCSkeleton(CodeBuffer& target, int program) const;

  /// Appends one line to `target` with the indentation step of the settings.
  void EmitLine(int indent, std::string_view text, CodeBuffer& target) const;

  /// The build folder the "// Build:" line names (options, else the folder of BatFile_).
  std::string buildFolder() const;
  /// The folder M_Type.h and User.c are written to.
  std::string outputFolder() const;
  /// The program file a build reads for a Sub that Main calls.
  std::string subFilePath(const CalledSub& call) const;

 private:
  /// `filePath` names the program for the build when the program itself has no file.
  void generateFunction(CodeBuffer& target, const Program& program, int index, bool top,
                        const std::string& filePath = {}) const;
  void generateSub(CodeBuffer& target, const CalledSub& call);
  void fillConfigHeader(CodeBuffer& target) const;
  bool writeBuildFiles(const std::string& header, const std::string& userC);
  void rereadMain();
  std::string captionOf(const Program& program) const;
  std::string subPath(const std::string& fileName) const;
  ProgramFileContext fileContext() const;

  Context& ctx_;
  CodeGenOptions options_;
  CodeGenHooks hooks_;
};

/// The Sub numbers Main calls (rows with subject kind 9), each once, in the order of their
/// first call, with the file name of that first call.
std::vector<CalledSub> calledSubs(const Program& main);

}  // namespace kavel
