#ifndef QUORVANE_CORE_VERSION_H
#define QUORVANE_CORE_VERSION_H
// The program's version, defined here only: the window captions, the About page, the
// version resources of both executables, the installer and the package names all read it.
// Plain macros, because the resource compiler and the packaging scripts read this file too.

#define QUORVANE_VERSION_MAJOR 5
#define QUORVANE_VERSION_MINOR 0
#define QUORVANE_VERSION_REVISION 0
#define QUORVANE_VERSION_BUILD 0

#define QUORVANE_STRINGIZE(x) #x
#define QUORVANE_TEXT(x) QUORVANE_STRINGIZE(x)
// "5.0.0", as the release is named to users.
#define QUORVANE_RELEASE_TEXT \
  QUORVANE_TEXT(QUORVANE_VERSION_MAJOR.QUORVANE_VERSION_MINOR.QUORVANE_VERSION_REVISION)

#endif
