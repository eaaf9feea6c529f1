#pragma once
// The viewer state of the reference host: per document, each product's and
// resource's current palette colour, colour inheritance, opacity, shown or hidden,
// and its own stored colour. Reached through TavI3DGeoVisu, TavIVisProperties and
// the document's TavIVisuManager; kept in plant files as <visuals>; every change
// is an undoable model change.
#include <cstdint>
#include <unordered_map>

#include "HostModel.h"
#include "TavVisu.h"

namespace host {

struct VisualState {
  int colour = kTavDefaultColour;
  int inheritance = kTavInheritOwnColour;
  int opacity = kTavOpaque;
  int own = kTavDefaultColour;
  bool shown = true;
  bool operator==(const VisualState&) const = default;
  bool IsDefault() const { return *this == VisualState{}; }
};

// One document's viewer state. Only objects whose state differs from the default
// have an entry, so a plant nobody looked at costs nothing.
class HostVisuStore final : public virtual TavIVisuManager {
public:
  explicit HostVisuStore(HostDocument& doc) : doc_(doc) {}
  void Commit() override { ++commits_; }

  VisualState Get(const HostProduct& p) const;
  // Changes the state, recording the inverse in the open transaction; S_FALSE
  // when the state already was so.
  HRESULT Change(HostProduct& p, const VisualState& s);
  // Sets the state without recording (loading, and undo records themselves).
  void Put(HostProduct& p, const VisualState& s);
  std::size_t Size() const { return states_.size(); }
  HostDocument& Doc() const { return doc_; }

  // What reached the viewers, for tests: redraws, notifications, commits.
  std::uint64_t redraws_ = 0, notifications_ = 0, commits_ = 0;

private:
  struct Entry {
    Ref<HostProduct> product;
    VisualState state;
  };
  HostDocument& doc_;
  std::unordered_map<const HostProduct*, Entry> states_;
};

HostVisuStore* VisuStoreOf(const HostDocument& doc);

// Registers the viewer state: the document container, the interfaces on products
// and resources, and the plant section <visuals>.
void RegisterVisuHost();

}  // namespace host
