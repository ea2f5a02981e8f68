#pragma once
// The arguments Kelverin.exe understands.

#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "core/Version.h"

namespace quorvane::companion {

inline constexpr std::string_view kVersionText = "Kelverin " QUORVANE_RELEASE_TEXT;
inline constexpr std::string_view kUsage =
    "Usage: Kelverin.exe [--resident | --stop | --clean [--json] | --preview [--json] |\n"
    "                     --version | --help]\n"
    "  (none)      Clean at logon, at shutdown or on a schedule, as the options in Local.Ini\n"
    "              beside this program say; stays running for shutdown and schedule.\n"
    "  --resident  The same, without the logon clean.\n"
    "  --stop      Ask the running copy to exit.\n"
    "  --clean     Clean now with the options of Local.Ini.\n"
    "  --preview   List what --clean would remove, and remove nothing.\n"
    "  --json      With --clean or --preview: print one JSON document instead of text.\n"
    "  --version   Show the version.\n"
    "  --help      Show this text.";

enum class Mode { Logon, Resident, Stop, Clean, Preview, Version, Help };

struct Command {
  Mode mode = Mode::Logon;
  bool json = false;
};

// The command, or the message that explains why the arguments were refused.
std::variant<Command, std::string> ParseCommandLine(std::span<const std::string> arguments);

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 2;

}  // namespace quorvane::companion
