#include "netscape/NetscapeDetection.h"

namespace quorvane {

std::string NetscapeVersion(Reg32& reg, AppContext& app) {
  std::string version =
      reg.GetStringValue(reg_root::LocalMachine, "Software\\Netscape\\Netscape 6", "CurrentVersion");
  if (!version.empty()) {
    app.netscapeGeneration = kNetscape6;
    return version;
  }
  app.netscapeGeneration = kNavigator;
  return reg.GetStringValue(reg_root::LocalMachine, "Software\\Netscape\\Netscape Navigator",
                            "CurrentVersion");
}

}  // namespace quorvane
