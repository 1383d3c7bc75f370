#include "core/build/ToolChainCommand.h"

#include "core/build/BuildPathEntry.h"
#include "core/text/TextFile.h"

extern char** environ;

namespace kavel {

std::string compileBatchName(bool mcu2620) { return mcu2620 ? "cl2620.Bat" : "cl2520.Bat"; }

std::string buildFolderOf(const std::string& batFile) {
  const std::string folder = text::folderOf(batFile);
  return folder.empty() ? std::string("./") : folder;
}

std::vector<std::string> currentEnvironment() {
  std::vector<std::string> entries;
  for (char** e = environ; e && *e; ++e) entries.emplace_back(*e);
  return entries;
}

std::optional<std::string> environmentValue(const std::vector<std::string>& environment, const std::string& name) {
  const std::string prefix = name + "=";
  for (const std::string& e : environment) {
    if (e.compare(0, prefix.size(), prefix) == 0) return e.substr(prefix.size());
  }
  return std::nullopt;
}

ToolChainCommand makeToolChainCommand(const std::string& batFile, bool mcu2620,
                                      const std::vector<std::string>& environment) {
  ToolChainCommand command;
  command.program = "/bin/sh";
  command.arguments = {compileBatchName(mcu2620)};
  command.workingFolder = buildFolderOf(batFile);
  command.outputFile = command.workingFolder + kBuildOutputFile;
  command.environment = environment;

  const std::optional<std::string> firstLine = readFirstLine(batFile);
  if (!firstLine) return command;
  const std::optional<EnvironmentEntry> entry =
      buildPathEntry(*firstLine, environmentValue(environment, "PATH").value_or(""));
  if (!entry) return command;
  const std::string prefix = entry->name + "=";
  std::erase_if(command.environment, [&](const std::string& e) { return e.compare(0, prefix.size(), prefix) == 0; });
  command.environment.push_back(prefix + entry->value);
  return command;
}

}  // namespace kavel
