#pragma once
// What a clean or a preview removed, target by target, and its two printed forms: lines of
// text and one JSON document.

#include <string>
#include <string_view>
#include <vector>

#include "clean/RemovalCounter.h"

namespace quorvane::companion {

struct TargetItems {
  std::string target;  // the target's label, without the blanks that indent it in the window
  std::vector<RemovedItem> items;
};

// Sees every removal of the run; the run tells it which target is running.
class ItemReport final : public RemovalObserver {
 public:
  void BeginTarget(std::string_view label);
  void Removed(RemovedItem item) override;
  const std::vector<TargetItems>& Targets() const { return targets_; }

 private:
  std::vector<TargetItems> targets_;
};

enum class RunKind { Clean, Preview };

// {"mode":"clean","targets":[{"target":...,"items":[...]}],"totals":{...}} as one line.
// Text that is not valid UTF-8 is carried with its bad bytes replaced, so the document is
// valid whatever the names on disk hold.
std::string ReportJson(RunKind kind, const std::vector<TargetItems>& targets,
                       const RemovalCounts& totals);

// "  file    C:\Temp\a.tmp (1,024 bytes)", as the preview lists each item.
std::string ItemLine(const RemovedItem& item);
// "Would remove: 2 files (1,536 bytes), 1 registry key, 0 registry values, 1 folder,
// 3 cache entries"
std::string PreviewSummary(const RemovalCounts& totals);

}  // namespace quorvane::companion
