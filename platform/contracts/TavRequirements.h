#pragma once
// Engineering requirements, hub document information, late-type kinds and the
// viewer's highlight: what the activities-of-product command asks of the host
// beyond the PPR model.
#include <string>
#include <string_view>
#include <vector>

#include "TavPPR.h"

// How far the process implements the engineering requirements a product carries.
// The host offers it on products (not on resources or assemblies).
class OrvIReconciliationAnalysisForEngRequirement : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIReconciliationAnalysisForEngRequirement);
  static constexpr int kNoRequirement = 0;       // the product carries none
  static constexpr int kFullyImplemented = 1;    // every one is implemented by an activity
  static constexpr int kNotFullyImplemented = 2; // at least one is not
  // S_OK with the level; E_FAIL when the product's requirements cannot be told
  // (an object of no loaded document).
  virtual HRESULT GetReconciliationLevel(int& level) const = 0;
};

// What the hub knows a document by. A hub document carries it as a root
// container (`OrvMHIDocInfoOf`); a local document has none.
class OrvIMHIDocInfo : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIMHIDocInfo);
  // The name of the document's hub information record; E_FAIL when it has none.
  virtual HRESULT GetHubInfoName(TavUnicodeString& name) const = 0;
};

inline Ref<OrvIMHIDocInfo> OrvMHIDocInfoOf(const Ref<TavDocument>& doc) {
  if (!doc) return nullptr;
  return std::dynamic_pointer_cast<OrvIMHIDocInfo>(doc->GetRootContainer(OrvIMHIDocInfo::kInterfaceName));
}

// Kinds of late types: a late type is a kind of itself and of every kind declared
// for it ("OrvMfgAssyContainer" is a kind of "OrvMBomNodesCont"), transitively.
class TavKinds {
public:
  static void Declare(const std::string& lateType, const std::string& kind);
  static bool IsAKindOf(const Ref<TavBaseUnknown>& object, std::string_view kind);
};

// The viewer's highlight of objects (the unconsumed parts a planner asks to see).
// Kept apart from the highlighted set of the editor, which holds paths: an object
// is highlighted once however many paths lead to it. Objects are held weakly, so
// a closed document leaves nothing behind.
class TavViewerHighlight {
public:
  static void Highlight(const std::vector<Ref<TavBaseUnknown>>& objects);
  static void UnHighlight(const std::vector<Ref<TavBaseUnknown>>& objects);
  static void Clear();
  static bool IsHighlighted(const Ref<TavBaseUnknown>& object);
  // In the order they were highlighted.
  static std::vector<Ref<TavBaseUnknown>> GetHighlighted();
};
