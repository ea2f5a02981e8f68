#pragma once
// The platform of a Windows program: one of each Windows implementation, bundled.

#include "core/platform/Platform.h"
#include "win32/platform/Win32FileSystem.h"
#include "win32/platform/Win32ProfileStrings.h"
#include "win32/platform/Win32Registry.h"
#include "win32/platform/Win32Shell.h"
#include "win32/platform/Win32TextCodec.h"
#include "win32/platform/Win32UrlCache.h"
#include "win32/platform/Win32UrlHistoryStore.h"
#include "win32/platform/Win32UserSettings.h"
#include "win32/platform/Win32WindowServices.h"

namespace quorvane::win32 {

class Win32Platform {
 public:
  Win32Platform() = default;
  // A front end without windows (the console companion) passes its own window services,
  // which print a message box instead of showing it.
  explicit Win32Platform(WindowServices& windows) : windowsOverride_(&windows) {}
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  Platform platform();

 private:
  Win32Registry registry_;
  Win32ProfileStrings profile_;
  Win32UserSettings userSettings_;
  Win32FileSystem files_;
  Win32Shell shell_;
  Win32WindowServices windows_;
  Win32TextCodec codec_;
  Win32UrlCache urlCache_;
  Win32UrlHistoryStore urlHistory_;
  WindowServices* windowsOverride_ = nullptr;
};

}  // namespace quorvane::win32
