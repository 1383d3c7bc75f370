#include "core/codegen/CodeGenerator.h"

#include <algorithm>

#include "core/codegen/ConfigHeader.h"
#include "core/codegen/HeaderBlock.h"
#include "core/codegen/StatementText.h"
#include "core/model/StatementKind.h"
#include "core/settings/ProductVariant.h"
#include "core/text/Format.h"
#include "core/text/TextFile.h"

namespace kavel {
namespace {

bool isSubNumber(int n) { return n >= 1 && n < ProgramSet::kPrograms; }

std::string withSeparator(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace

std::vector<CalledSub> calledSubs(const Program& main) {
  std::vector<CalledSub> subs;
  for (const Statement& row : main.rows()) {
    if (row.cno != kSubCall) continue;
    const bool known = std::any_of(subs.begin(), subs.end(), [&](const CalledSub& s) { return s.number == row.val0; });
    if (!known) subs.push_back(CalledSub{row.val0, row.cmt});
  }
  return subs;
}

CodeGenerator::CodeGenerator(Context& ctx, CodeGenOptions options, CodeGenHooks hooks)
    : ctx_(ctx), options_(std::move(options)), hooks_(std::move(hooks)) {
  if (options_.mainWindowCaption.empty()) options_.mainWindowCaption = mainWindowTitle();
}

std::string CodeGenerator::buildFolder() const {
  return options_.buildFolder.empty() ? text::folderOf(ctx_.settings.BatFile_) : withSeparator(options_.buildFolder);
}

std::string CodeGenerator::outputFolder() const {
  return options_.outputFolder.empty() ? buildFolder() : withSeparator(options_.outputFolder);
}

void CodeGenerator::EmitLine(int indent, std::string_view text, CodeBuffer& target) const {
  target.EmitLine(indent, text, ctx_.settings.TAB_Spc_);
}

std::string CodeGenerator::captionOf(const Program& program) const {
  return hooks_.windowCaption ? hooks_.windowCaption(program) : program.caption();
}

ProgramFileContext CodeGenerator::fileContext() const {
  return ProgramFileContext{ctx_.settings, ctx_.io, ctx_.setup, ctx_.messages, options_.mainWindowCaption};
}

bool CodeGenerator::WriteGeneratedFile(const CodeBuffer& buffer, const std::string& path) {
  std::string error;
  if (text::writeFileAtomic(path, generatedFileBytes(buffer.lines()), &error)) return true;
  if (hooks_.fileError) hooks_.fileError(kFileErrorTitle, kFileWriteErrorText, error.empty() ? path : error);
  return false;
}

bool CodeGenerator::WriteConfigHeader(CodeBuffer& target) {
  fillConfigHeader(target);
  if (target.target() != CodeTarget::BuildBuffer) return true;
  return WriteGeneratedFile(target, outputFolder() + "M_Type.h");
}

void CodeGenerator::fillConfigHeader(CodeBuffer& target) const {
  target.clear();
  for (const std::string& line : configHeaderLines(ctx_.io, ctx_.settings, options_.pwrOnRun)) {
    EmitLine(0, line, target);
  }
}

bool CodeGenerator::writeBuildFiles(const std::string& header, const std::string& userC) {
  // A build compiles the two files together: one new beside one old is a program nobody wrote.
  const std::string folder = outputFolder();
  std::string error;
  if (text::writeFilesAtomic({{folder + "M_Type.h", header}, {folder + "User.c", userC}}, &error)) return true;
  if (hooks_.fileError) hooks_.fileError(kFileErrorTitle, kFileWriteErrorText, error.empty() ? folder : error);
  return false;
}

bool CodeGenerator::WriteBuildFiles(const std::string& userSource) {
  CodeBuffer header(CodeTarget::BuildBuffer);
  fillConfigHeader(header);
  return writeBuildFiles(generatedFileBytes(header.lines()), userSource);
}

void CodeGenerator::WriteHeaderBlock(CodeBuffer& target) const {
  WriteHeaderBlock(target, ctx_.programs.current);
}

void CodeGenerator::WriteHeaderBlock(CodeBuffer& target, int program) const {
  target.clear();
  const Program& titled = ProgramSet::isValidIndex(program) ? ctx_.programs[program] : ctx_.programs.currentProgram();
  const std::vector<std::string> lines =
      target.target() == CodeTarget::CodeView
          ? shortHeaderBlock()
          : fullHeaderBlock(captionOf(titled), options_.mainWindowCaption, buildFolder(), ctx_.setup, ctx_.io);
  for (const std::string& line : lines) EmitLine(0, line, target);
}

void CodeGenerator::WriteCSkeleton(CodeBuffer& target) const { WriteCSkeleton(target, ctx_.programs.current); }

void CodeGenerator::WriteCSkeleton(CodeBuffer& target, int program) const {
  WriteHeaderBlock(target, program);
  for (const std::string& line : cSkeletonBody(ctx_.settings.TAB_Spc_)) EmitLine(0, line, target);
}

void CodeGenerator::generateFunction(CodeBuffer& target, const Program& program, int index, bool top,
                                     const std::string& filePath) const {
  const std::string name = target.target() == CodeTarget::CodeView
                               ? programNameForView(captionOf(program))
                               : programNameForBuild(program.path.empty() ? filePath : program.path);
  EmitLine(0, "// Program Name : " + name, target);
  EmitLine(0, kSeparatorLine, target);
  EmitLine(0, top && index == 0 ? std::string("void user_main(void)") : text::format("void user_sub_%d(void)", index),
           target);
  EmitLine(0, "{", target);

  const auto loops = std::count_if(program.rows().begin(), program.rows().end(),
                                    [](const Statement& row) { return row.sno == kFor; });
  if (loops > 0) {
    std::string counters = "int ";
    for (long k = 1; k <= loops; ++k) counters += (k > 1 ? ",n" : "n") + std::to_string(k);
    EmitLine(1, counters + ";", target);
  }
  if (ctx_.io.useSnx4410) EmitLine(0, "stt_snx4410();", target);

  const CodeTextContext context{ctx_.io, index};
  int forCounter = 0;
  std::vector<std::string> lines;
  int r = 0;
  for (const Statement& row : program.rows()) {
    lines.clear();
    appendStatementLines(row, context, forCounter, lines);
    target.setOrigin(index, r++);
    for (const std::string& line : lines) EmitLine(row.level + 1, line, target);
  }
  target.setOrigin(-1, -1);
  EmitLine(0, "}", target);
  EmitLine(0, kSeparatorLine, target);
}

std::string CodeGenerator::subPath(const std::string& fileName) const {
  if (!fileName.empty() && fileName.front() == '/') return fileName;
  const std::string folder =
      options_.subFolder.empty() ? text::folderOf(ctx_.programs.main().path) : withSeparator(options_.subFolder);
  return folder + fileName;
}

std::string CodeGenerator::subFilePath(const CalledSub& call) const {
  return programFilePath(subPath(call.fileName));
}

void CodeGenerator::generateSub(CodeBuffer& target, const CalledSub& call) {
  const int n = call.number;
  // A number outside Sub-1..Sub-30 only comes from a damaged file: its function is still
  // generated (the call refers to it), from a program outside the program set.
  Program outside(n);
  Program& sub = isSubNumber(n) ? ctx_.programs[n] : outside;
  std::string path;
  if (!sub.open) {
    if (isSubNumber(n)) {
      sub = Program(n);
      sub.open = true;
      ctx_.programs.current = n;
      if (hooks_.openSubWindow) hooks_.openSubWindow(n);
    }
    path = subFilePath(call);
    ProgramFileContext fc = fileContext();
    const ProgramFileResult result = readProgramFile(sub, path, fc, hooks_.fileHooks);
    if (!result.ok && hooks_.readFailed) hooks_.readFailed(n, path, result.error);
  }
  // A Sub whose file did not read is still named after the file the call names.
  generateFunction(target, sub, n, false, path);
  if (isSubNumber(n)) {
    if (hooks_.closeSubWindow) hooks_.closeSubWindow(n);
    sub = Program(n);
  }
}

void CodeGenerator::rereadMain() {
  ctx_.programs.current = 0;
  Program& main = ctx_.programs.main();
  if (main.path.empty()) return;
  const std::string path = main.path;
  ProgramFileContext fc = fileContext();
  const ProgramFileResult result = readProgramFile(main, path, fc, hooks_.fileHooks);
  if (!result.ok && hooks_.readFailed) hooks_.readFailed(0, path, result.error);
}

bool CodeGenerator::GenerateCode(CodeBuffer& target) { return GenerateCode(target, ctx_.programs.current); }

bool CodeGenerator::GenerateCode(CodeBuffer& target, int program) {
  if (!ProgramSet::isValidIndex(ctx_.programs.current)) ctx_.programs.current = 0;
  const bool build = target.target() == CodeTarget::BuildBuffer;
  // The build reads and re-reads files through the current program; it stays on it.
  const int p = build || !ProgramSet::isValidIndex(program) ? ctx_.programs.current : program;
  std::string header;

  if (build) {
    const auto& rows = ctx_.programs.main().rows();
    ctx_.io.interruptInUse = std::any_of(rows.begin(), rows.end(), [](const Statement& row) {
      return row.cno == kSubCall && row.val0 == ProgramSet::kInterruptSub;
    });
    // The header is taken before the Subs are read: reading them changes the I/O setup.
    fillConfigHeader(target);
    header = generatedFileBytes(target.lines());
  }
  WriteHeaderBlock(target, p);

  if (p == 0 && build) {
    const std::vector<CalledSub> subs = calledSubs(ctx_.programs.main());
    if (!subs.empty()) {
      EmitLine(0, "// Functions", target);
      EmitLine(0, kSeparatorLine, target);
      for (const CalledSub& sub : subs) EmitLine(0, text::format("void user_sub_%d(void);", sub.number), target);
      EmitLine(0, "void user_main(void);", target);
      EmitLine(0, kSeparatorLine, target);
    }
    for (const CalledSub& sub : subs) generateSub(target, sub);
    rereadMain();
  }

  generateFunction(target, ctx_.programs[p], p, true);
  return !build || writeBuildFiles(header, generatedFileBytes(target.lines()));
}

}  // namespace kavel
