#include "win32/platform/Win32Platform.h"

namespace quorvane::win32 {

Platform Win32Platform::platform() {
  WindowServices& windows = windowsOverride_ ? *windowsOverride_ : windows_;
  return Platform{registry_, profile_, userSettings_, files_,     shell_,
                  windows,   codec_,   urlCache_,     urlHistory_};
}

}  // namespace quorvane::win32
