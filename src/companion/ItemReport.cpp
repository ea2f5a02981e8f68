#include "companion/ItemReport.h"

#include <nlohmann/json.hpp>

#include "core/Text.h"

namespace quorvane::companion {
namespace {

// Keys stay in the order written, the order in which the document is described.
using Json = nlohmann::ordered_json;

std::string_view KindName(RemovedItem::Kind kind) {
  switch (kind) {
    case RemovedItem::Kind::File:
      return "file";
    case RemovedItem::Kind::Folder:
      return "folder";
    case RemovedItem::Kind::Key:
      return "key";
    case RemovedItem::Kind::Value:
      return "value";
    case RemovedItem::Kind::Url:
      return "url";
  }
  return "file";
}

Json ItemJson(const RemovedItem& item) {
  Json json{{"type", KindName(item.kind)}};
  switch (item.kind) {
    case RemovedItem::Kind::File:
      json["path"] = item.path;
      json["bytes"] = item.bytes;
      break;
    case RemovedItem::Kind::Value:
      json["path"] = item.path;
      json["name"] = item.name;
      break;
    case RemovedItem::Kind::Url:
      json["url"] = item.path;
      break;
    default:
      json["path"] = item.path;
      break;
  }
  return json;
}

std::string Counted(std::uint64_t count, std::string_view singular, std::string_view plural) {
  return std::to_string(count) + " " + std::string(count == 1 ? singular : plural);
}

}  // namespace

void ItemReport::BeginTarget(std::string_view label) {
  targets_.push_back({std::string(Trim(label)), {}});
}

void ItemReport::Removed(RemovedItem item) {
  // A removal outside any target still belongs in the report.
  if (targets_.empty()) BeginTarget("");
  targets_.back().items.push_back(std::move(item));
}

std::string ReportJson(RunKind kind, const std::vector<TargetItems>& targets,
                       const RemovalCounts& totals) {
  Json targetList = Json::array();
  for (const TargetItems& target : targets) {
    Json items = Json::array();
    for (const RemovedItem& item : target.items) items.push_back(ItemJson(item));
    targetList.push_back({{"target", target.target}, {"items", std::move(items)}});
  }
  const Json document{{"mode", kind == RunKind::Clean ? "clean" : "preview"},
                      {"targets", std::move(targetList)},
                      {"totals",
                       {{"files", totals.files},
                        {"bytes", totals.bytes},
                        {"folders", totals.folders},
                        {"keys", totals.registryKeys},
                        {"values", totals.registryValues},
                        {"urls", totals.urls}}}};
  return document.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string ItemLine(const RemovedItem& item) {
  std::string line = "  " + std::string(KindName(item.kind));
  line.resize(10, ' ');
  line += item.path;
  if (item.kind == RemovedItem::Kind::File)
    line += " (" + Counted(item.bytes, "byte", "bytes") + ")";
  if (item.kind == RemovedItem::Kind::Value) line += " \"" + item.name + "\"";
  return line;
}

std::string PreviewSummary(const RemovalCounts& totals) {
  std::string removed = RemovalSummary(totals);
  // The clean's own summary, in the conditional, with the two kinds it does not print.
  removed.replace(0, std::string_view("Removed").size(), "Would remove");
  return removed + ", " + Counted(totals.folders, "folder", "folders") + ", " +
         Counted(totals.urls, "cache entry", "cache entries");
}

}  // namespace quorvane::companion
