#pragma once
// What the cross highlight finds on the other side of the PPR relations: an
// activity's related products and resources, and the activities relating an item,
// as the options dialog's boxes say (docs/cross-highlight.md). The literal walk of
// every activity is the reference; the index answers the same list in the same
// order from a reverse map kept per box set and model state.
#include <array>
#include <optional>
#include <unordered_map>
#include <vector>

#include "TavPPR.h"

struct OrvVekCrossHighlightFlags {
  bool pfpp = false, ppp = false, prp = false, pcp = false, pir = false;
  bool pur = false, pror = false, par = false, pdr = false, dc = false;

  // The dialog's sum of the checked boxes' values (GetValues) as flags (GetChecks).
  static OrvVekCrossHighlightFlags FromValue(int value);
  int Value() const;
  static OrvVekCrossHighlightFlags All() { return FromValue(1023); }
  // The same flags without "DC": what an activity relates by itself.
  OrvVekCrossHighlightFlags Own() const {
    OrvVekCrossHighlightFlags f = *this;
    f.dc = false;
    return f;
  }
};

// The boxes in the table's order, with their values: "PFPP" 1 ... "DC" 512.
struct OrvVekCrossHighlightBox {
  const char* name;
  int value;
};
const std::array<OrvVekCrossHighlightBox, 10>& OrvVekCrossHighlightBoxes();

class OrvVekCrossHighlightRelations {
public:
  // The activity's related items, in query order (codes, resources, outputs, then
  // each child's with "DC"); no duplicate removal.
  static std::vector<Ref<TavBaseUnknown>> GetAllRelatedItems(const Ref<TavBaseUnknown>& activity,
                                                             const OrvVekCrossHighlightFlags& flags);
  // The activities whose related items hold the item, depth first from each root of
  // the document's process, parents before children. Null without a document or
  // process container.
  static std::optional<std::vector<Ref<TavBaseUnknown>>> GetAllRelatedActivities(const Ref<TavDocument>& doc,
                                                                                const Ref<TavBaseUnknown>& item,
                                                                                const OrvVekCrossHighlightFlags& flags);
  // The activity's child activities of any type, in child order.
  static std::vector<Ref<TavBaseUnknown>> ChildActivities(const Ref<TavBaseUnknown>& activity);
};

// GetAllRelatedActivities answered from a reverse map item -> activities, built once
// per document, box set and model state (TavModelChanges), kept for a few box sets.
class OrvVekCrossHighlightIndex {
public:
  std::optional<std::vector<Ref<TavBaseUnknown>>> GetAllRelatedActivities(const Ref<TavDocument>& doc,
                                                                         const Ref<TavBaseUnknown>& item,
                                                                         const OrvVekCrossHighlightFlags& flags);
  // How many maps were built (a test sees an unchanged model reuse its map).
  int Builds() const { return builds_; }

private:
  struct Map {
    std::weak_ptr<TavDocument> doc;
    int flags = -1;
    std::uint64_t changes = 0;
    bool hasContainer = false;
    std::vector<Ref<TavBaseUnknown>> activities;  // the walk's order
    std::unordered_map<const TavBaseUnknown*, std::vector<std::uint32_t>> byItem;
  };
  Map& Current(const Ref<TavDocument>& doc, const OrvVekCrossHighlightFlags& flags);
  void Build(Map& map, const Ref<TavDocument>& doc, const OrvVekCrossHighlightFlags& flags);

  std::vector<Map> maps_;
  int builds_ = 0;
};
