#include <cstdio>
#include <cwchar>

// Placeholder until the clean engine lands.
int wmain(int argc, wchar_t** argv) {
  std::puts("Usage: Kelverin.exe --clean | --help");
  return (argc > 1 && std::wcscmp(argv[1], L"--help") != 0) ? 2 : 0;
}
