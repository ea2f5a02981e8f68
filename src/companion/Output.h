#pragma once
// Where the companion's lines go: the console (standard output and standard error), or a
// list that becomes the log of an automatic clean.

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::companion {

class LineOutput {
 public:
  virtual ~LineOutput() = default;
  virtual void Out(std::string_view line) = 0;
  // Messages of the run that the window would show in a message box.
  virtual void Err(std::string_view line) = 0;
};

// Each line is flushed at once, so that standard output and standard error stay in the order
// in which the run produced them when both go to one pipe.
class ConsoleOutput final : public LineOutput {
 public:
  void Out(std::string_view line) override { Write(stdout, line); }
  void Err(std::string_view line) override { Write(stderr, line); }
  static void Write(std::FILE* stream, std::string_view line);
};

// Both streams in one list, in the order they came.
class CollectedOutput final : public LineOutput {
 public:
  void Out(std::string_view line) override { lines.emplace_back(line); }
  void Err(std::string_view line) override { lines.emplace_back(line); }
  std::vector<std::string> lines;
};

}  // namespace quorvane::companion
