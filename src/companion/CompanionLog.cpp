#include "companion/CompanionLog.h"

#include "companion/CleanCommand.h"

namespace quorvane::companion {

std::string KeepTail(std::string text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t start = text.size() - limit;
  // A cut inside a line drops the rest of that line too.
  if (start > 0 && text[start - 1] != '\n') {
    const std::size_t next = text.find('\n', start);
    start = next == std::string::npos ? text.size() : next + 1;
  }
  return text.substr(start);
}

void AppendToLog(FileSystem& files, std::string_view folder,
                 const std::vector<std::string>& lines) {
  (void)files.CreateDirectory(folder);
  const std::string path = std::string(folder) + std::string(kLogName);
  std::string log;
  if (files.ReadFile(path, log) != FsResult::Ok) log.clear();
  for (const std::string& line : lines) log += line + "\r\n";
  (void)files.WriteFile(path, KeepTail(std::move(log), kLogLimit));
}

void CleanToLog(Platform& platform, std::string_view logFolder, CleanReason reason,
                std::string_view localTime) {
  CollectedOutput out;
  out.Out(std::string(localTime) + " " + std::string(ReasonText(reason)));
  RunCleanCommand(platform, RunKind::Clean, false, out);
  AppendToLog(platform.files, logFolder, out.lines);
}

}  // namespace quorvane::companion
