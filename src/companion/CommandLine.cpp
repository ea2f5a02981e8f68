#include "companion/CommandLine.h"

#include <array>
#include <utility>

namespace quorvane::companion {
namespace {
constexpr std::array<std::pair<std::string_view, Mode>, 6> kModes = {
    {{"--resident", Mode::Resident},
     {"--stop", Mode::Stop},
     {"--clean", Mode::Clean},
     {"--preview", Mode::Preview},
     {"--version", Mode::Version},
     {"--help", Mode::Help}}};
}  // namespace

std::variant<Command, std::string> ParseCommandLine(std::span<const std::string> arguments) {
  Command command;
  bool modeSeen = false;
  for (const std::string& argument : arguments) {
    if (argument == "--json") {
      if (command.json) return std::string("--json is given twice.");
      command.json = true;
      continue;
    }
    bool known = false;
    for (const auto& [name, mode] : kModes) {
      if (argument != name) continue;
      if (modeSeen) return "Only one of the modes can be given: " + argument;
      command.mode = mode;
      modeSeen = known = true;
    }
    if (!known) return "Unknown argument: " + argument;
  }
  if (command.json && command.mode != Mode::Clean && command.mode != Mode::Preview) {
    return std::string("--json goes with --clean or --preview.");
  }
  return command;
}

}  // namespace quorvane::companion
