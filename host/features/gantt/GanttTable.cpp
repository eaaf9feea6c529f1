#include "GanttTable.h"

#include <cstdio>

namespace host {

const std::vector<std::string>& GanttTable::StandardHeaders() {
  static const std::vector<std::string> h{"Name", "Type", "Duration", "Description"};
  return h;
}

std::size_t GanttTable::FindColumn(std::string_view header) const {
  for (std::size_t c = 0; c < columns_.size(); ++c)
    if (columns_[c].header == header) return c;
  return columns_.size();
}

void GanttTable::Build(const HostActivity& root, const std::vector<std::string>& attributes) {
  rows_.clear();
  rows_.push_back(std::dynamic_pointer_cast<HostActivity>(const_cast<HostActivity&>(root).self()));
  // Control-flow nodes are no activities and get no row.
  auto isActivity = [](const HostType* t) { return t->IsA("Activity"); };
  if (const auto* order = root.Doc() ? root.Doc()->TreeOrder(root) : nullptr) {
    // Below a process root the model keeps the depth-first order flat.
    rows_.reserve(order->activities.size() + 1);
    for (std::size_t i = 0; i < order->activities.size(); ++i)
      if (isActivity(order->types[i])) rows_.push_back(order->activities[i]);
  } else {
    std::vector<std::pair<const HostActivity*, std::size_t>> stack{{&root, 0}};
    while (!stack.empty()) {
      auto& [a, next] = stack.back();
      if (next == a->Children().size()) {
        stack.pop_back();
        continue;
      }
      const Ref<HostActivity>& c = a->Children()[next++];
      if (isActivity(c->Type())) rows_.push_back(c);
      stack.emplace_back(c.get(), 0);
    }
  }

  BuildColumns(attributes);
}

void GanttTable::Build(std::vector<Ref<HostActivity>> rows, const std::vector<std::string>& attributes) {
  rows_ = std::move(rows);
  BuildColumns(attributes);
}

void GanttTable::BuildColumns(const std::vector<std::string>& attributes) {
  columns_.assign(kStandardColumns + attributes.size(), {});
  for (std::size_t c = 0; c < kStandardColumns; ++c) columns_[c].header = StandardHeaders()[c];
  columns_[2].numeric = true;
  for (std::size_t k = 0; k < attributes.size(); ++k) columns_[kStandardColumns + k].header = attributes[k];
  for (auto& c : columns_) c.ends.reserve(rows_.size());

  std::vector<char> sawNumber(attributes.size(), 0), sawOther(attributes.size(), 0);
  char duration[64];
  for (const auto& row : rows_) {
    const HostActivity& a = *row;
    columns_[0].Append(a.Label().utf8());
    columns_[1].Append(a.Type()->name);
    std::snprintf(duration, sizeof duration, "%g", a.GetTime());
    columns_[2].Append(duration);
    columns_[3].Append(a.Description().utf8());
    for (std::size_t k = 0; k < attributes.size(); ++k) {
      const TavAttribute* found = nullptr;
      for (const auto& attr : a.Attributes())
        if (attr.name.utf8() == attributes[k]) {
          found = &attr;
          break;
        }
      Column& col = columns_[kStandardColumns + k];
      if (!found) {
        col.Append({});
        continue;
      }
      const TavUnicodeString text = TavValueToText(found->value);
      col.Append(text.utf8());
      if (text.IsEmpty()) continue;
      const bool number = std::holds_alternative<std::int64_t>(found->value) || std::holds_alternative<double>(found->value);
      (number ? sawNumber : sawOther)[k] = 1;
    }
  }
  for (std::size_t k = 0; k < attributes.size(); ++k) columns_[kStandardColumns + k].numeric = sawNumber[k] && !sawOther[k];
}

}  // namespace host
