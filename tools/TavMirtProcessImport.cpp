#include "TavMirtProcessImport.h"

#include <algorithm>
#include <exception>
#include <string_view>
#include <unordered_map>

#include "TavUndo.h"

int TavMirtImportReport::Count(const std::string& result) const {
  return static_cast<int>(std::count_if(links.begin(), links.end(), [&](const Link& l) { return l.result == result; }));
}

Ref<TavBaseUnknown> TavMirtCreateChild(TavISPPChildManagement& children, const TavUnicodeString& type,
                                       const TavUnicodeString& label) {
  try {
    return children.CreateChild(type, label);
  } catch (const std::exception&) {
    return nullptr;
  }
}

namespace {

bool Fail(TavSavepoint& mark, const std::string& why, std::string* error) {
  std::string undo;
  if (error) *error = mark.RollBack(&undo) ? why : why + " (and the changes made so far could not be taken back: " + undo + ")";
  return false;
}

}  // namespace

bool TavMirtApplyProcessFile(const Ref<TavISPPActivity>& activity, const TavMirtProcessFile& file,
                             TavMirtImportReport& report, std::string* error) {
  report = TavMirtImportReport();
  auto children = query<TavISPPChildManagement>(activity);
  if (!activity || !children) {
    if (error) *error = "the activity takes no child activities";
    return false;
  }
  TavSavepoint mark;
  activity->SetLabel(TavUnicodeString(file.label));
  activity->SetDescription(TavUnicodeString(file.Description()));
  report.created.reserve(file.operations.size());
  for (const auto& op : file.operations) {
    const TavUnicodeString label(op.label);
    Ref<TavBaseUnknown> child = TavMirtCreateChild(*children, TavUnicodeString(op.type), label);
    if (!child) {
      report.fallbacks.push_back({op.label, op.type});
      child = TavMirtCreateChild(*children, "PhysicalActivity", label);
    }
    auto made = query<TavISPPActivity>(child);
    if (!made) return Fail(mark, "operation '" + op.label + "' (line " + std::to_string(op.line) + ") could not be made", error);
    made->SetLabel(label);
    made->SetTime(op.time);
    if (auto attributes = query<TavIAttributeHolder>(made)) attributes->SetAttribute("ImageFile", TavValue(TavUnicodeString(op.image)));
    made->SetDescription(TavUnicodeString(op.description));
    report.created.push_back(std::move(made));
  }
  // Links by label, the first child of a label winning, earlier children included.
  const auto all = children->GetChildActivities();
  if (all.empty()) return true;
  // The children made here carry their operation's label: the file's text is the key;
  // the children that were there before keep a copy of theirs.
  const std::size_t before = all.size() >= report.created.size() ? all.size() - report.created.size() : 0;
  std::vector<std::string> oldLabels;
  oldLabels.reserve(all.size());
  std::unordered_map<std::string_view, Ref<TavISPPActivity>> byLabel;
  byLabel.reserve(all.size());
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (!all[i]) continue;
    const std::size_t k = i - before;
    if (i >= before && SameObject(all[i], report.created[k])) {
      byLabel.try_emplace(file.operations[k].label, all[i]);
    } else {
      oldLabels.push_back(all[i]->GetLabel().utf8());
      byLabel.try_emplace(oldLabels.back(), all[i]);
    }
  }
  auto find = [&](const std::string& label) {
    auto it = byLabel.find(label);
    return it == byLabel.end() ? nullptr : it->second;
  };
  for (const auto& link : file.links) {
    TavMirtImportReport::Link done{link.source, link.target, link.line, {}};
    auto source = find(link.source);
    auto target = find(link.target);
    if (!source) {
      done.result = "no source";
    } else if (!target) {
      done.result = "no target";
    } else {
      auto flow = query<TavISPPFlowMgt>(source);
      const HRESULT hr = flow ? flow->AddControlFlowLink(target) : E_FAIL;
      done.result = hr == S_OK ? "made" : hr == S_FALSE ? "existing" : "refused";
    }
    report.links.push_back(std::move(done));
  }
  return true;
}
