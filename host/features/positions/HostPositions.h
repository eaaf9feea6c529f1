#pragma once
// Design positions of the reference host: beside each product's current position
// (TavIMovable, which planners change) the position its own structure gives it,
// fixed when the plant loads. Also the host's feature objects that are no products
// to a planner (tags, tag groups, tag lists) and a stand-in for the check of cable
// design states. One store per document; plant files keep the design position on
// <placement> and the marks in <tag> and <cable> elements.
#include <unordered_map>

#include "HostModel.h"
#include "TavPositions.h"

namespace host {

enum class TagKind : std::uint8_t { Tag = 1, TagGroup, TagList };
const char* TagKindName(TagKind k);  // "tag", "tagGroup", "tagList"

class HostDesignStore final : public virtual TavIDesignPositions {
public:
  explicit HostDesignStore(HostDocument* doc) : doc_(*doc) {}
  TavIMovable::Position GetDesignPosition(const Ref<TavBaseUnknown>& product) const override;
  bool IsTagObject(const Ref<TavBaseUnknown>& object) const override;
  bool CheckCableDesignStates(const Ref<TavBaseUnknown>& product) const override;

  TavIMovable::Position Design(const HostProduct& p) const;
  void SetDesign(const HostProduct& p, const TavIMovable::Position& m);
  // Null when the object is no tag.
  const TagKind* TagOf(const HostObject& o) const;
  void SetTag(const HostObject& o, TagKind k) { tags_[o.GetModelNumber()] = k; }
  // False when the product's cables are out of their design state.
  bool CableInDesignState(const HostObject& o) const;
  bool HasCableMark(const HostObject& o) const { return cables_.count(o.GetModelNumber()) != 0; }
  void SetCableInDesignState(const HostObject& o, bool inDesign) { cables_[o.GetModelNumber()] = inDesign; }

private:
  HostDocument& doc_;
  // Designs by model number: a product's slot in `designs_`, 0 for the identity. A
  // whole-plant walk reads them in model order, without a hash lookup per product.
  std::vector<std::uint32_t> slot_;
  std::vector<TavIMovable::Position> designs_{kTavIdentityPosition};
  // By model number, which no other object of the document ever takes.
  std::unordered_map<int, TagKind> tags_;
  std::unordered_map<int, bool> cables_;
};

HostDesignStore* DesignPositionsOf(const HostDocument& doc);

// Synthetic plants: every product and resource (tree order) gets a design position
// of its own and stands there, except every `displacedEvery`-th, which was moved. The
// number of displaced products (0 and nothing placed for 0).
std::size_t AddGeneratedPlacements(HostDocument& doc, std::size_t displacedEvery);
// Synchronises every `every`-th pair of neighbouring sibling activities, start-start
// and end-end in turn, on both sides. The number of pairs made.
std::size_t AddGeneratedSynchronisations(HostDocument& doc, std::size_t every);

// Registers the store on every document and the <placement>, <tag> and <cable>
// elements of products and resources.
void RegisterPositionsHost();

}  // namespace host
