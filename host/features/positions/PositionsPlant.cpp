// The positions feature's plant elements, registered in one place: <placement> with
// the current and the design position, <tag> and <cable> marks.
#include <algorithm>
#include <cmath>

#include "HostPositions.h"
#include "PlantSections.h"

namespace host {
namespace {

std::string MatrixText(const TavIMovable::Position& m, PlantWriter& w) {
  if (!std::all_of(m.begin(), m.end(), [](double v) { return std::isfinite(v); }))
    w.Problem("a position holds a non-finite number");
  return PlantMatrixText(m);
}

bool LoadPlacement(const PlantElement& e, const Ref<TavBaseUnknown>& owner, PlantLoadContext& ctx) {
  auto p = std::dynamic_pointer_cast<HostProduct>(owner);
  HostDesignStore* store = DesignPositionsOf(ctx.doc);
  if (!p || !store) return false;
  std::optional<std::string> matrix, design;
  if (!ctx.ReadAttributes(e, {{"matrix", &matrix, true}, {"design", &design, false}})) return false;
  // A second placement: the first left a position or a design behind.
  if (p->GetPosition() != kTavIdentityPosition || store->Design(*p) != kTavIdentityPosition) {
    ctx.Error(&e, "'" + p->IdString() + "' has two placements");
    return false;
  }
  TavIMovable::Position m{}, d{};
  if (!ParsePlantMatrix(e, "matrix", *matrix, ctx, m)) return false;
  if (design && !ParsePlantMatrix(e, "design", *design, ctx, d)) return false;
  if (m != kTavIdentityPosition) p->SetPosition(m);
  // Without a design position the product stands where its structure puts it.
  store->SetDesign(*p, design ? d : m);
  return true;
}

void SavePlacement(const Ref<TavBaseUnknown>& owner, PlantWriter& w) {
  auto* p = TavCast<HostProduct>(owner.get());
  const HostDesignStore* store = p && p->Doc() ? DesignPositionsOf(*p->Doc()) : nullptr;
  if (!p) return;
  const TavIMovable::Position now = p->GetPosition(), design = store ? store->Design(*p) : kTavIdentityPosition;
  if (now == kTavIdentityPosition && design == kTavIdentityPosition) return;
  w.Start("placement");
  w.Attr("matrix", MatrixText(now, w));
  if (design != now) w.Attr("design", MatrixText(design, w));
  w.End();
}

bool LoadTag(const PlantElement& e, const Ref<TavBaseUnknown>& owner, PlantLoadContext& ctx) {
  auto* o = TavCast<HostObject>(owner.get());
  HostDesignStore* store = DesignPositionsOf(ctx.doc);
  if (!o || !store) return false;
  std::optional<std::string> kind;
  if (!ctx.ReadAttributes(e, {{"kind", &kind, true}})) return false;
  if (store->TagOf(*o)) {
    ctx.Error(&e, "'" + o->IdString() + "' is marked as a tag twice");
    return false;
  }
  for (TagKind k : {TagKind::Tag, TagKind::TagGroup, TagKind::TagList})
    if (*kind == TagKindName(k)) {
      store->SetTag(*o, k);
      return true;
    }
  ctx.Error(&e, "unknown tag kind \"" + *kind + "\" (tag, tagGroup or tagList)");
  return false;
}

void SaveTag(const Ref<TavBaseUnknown>& owner, PlantWriter& w) {
  auto* o = TavCast<HostObject>(owner.get());
  const HostDesignStore* store = o && o->Doc() ? DesignPositionsOf(*o->Doc()) : nullptr;
  const TagKind* k = store ? store->TagOf(*o) : nullptr;
  if (!k) return;
  w.Start("tag");
  w.Attr("kind", TagKindName(*k));
  w.End();
}

bool LoadCable(const PlantElement& e, const Ref<TavBaseUnknown>& owner, PlantLoadContext& ctx) {
  auto* o = TavCast<HostObject>(owner.get());
  HostDesignStore* store = DesignPositionsOf(ctx.doc);
  if (!o || !store) return false;
  std::optional<std::string> inDesign;
  bool value = true;
  if (!ctx.ReadAttributes(e, {{"designState", &inDesign, true}}) || !ctx.ParseBool(e, "designState", *inDesign, value)) return false;
  if (store->HasCableMark(*o)) {
    ctx.Error(&e, "'" + o->IdString() + "' has two cable marks");
    return false;
  }
  store->SetCableInDesignState(*o, value);
  return true;
}

void SaveCable(const Ref<TavBaseUnknown>& owner, PlantWriter& w) {
  auto* o = TavCast<HostObject>(owner.get());
  const HostDesignStore* store = o && o->Doc() ? DesignPositionsOf(*o->Doc()) : nullptr;
  if (!store || !store->HasCableMark(*o)) return;
  w.Start("cable");
  w.Attr("designState", store->CableInDesignState(*o) ? "true" : "false");
  w.End();
}

}  // namespace

void RegisterPositionsHost() {
  RegisterDocumentInitialiser([](HostDocument& doc) {
    if (!DesignPositionsOf(doc)) doc.AddContainer(std::make_shared<HostDesignStore>(&doc));
  });
  for (const char* parent : {"product", "resource"}) {
    RegisterElementExtension(parent, "placement", LoadPlacement, SavePlacement);
    RegisterElementExtension(parent, "tag", LoadTag, SaveTag);
    RegisterElementExtension(parent, "cable", LoadCable, SaveCable);
  }
}

}  // namespace host
