// Replacing a product instance by the product of a product document, through the
// automation of the products collection that holds it.
#include <algorithm>
#include <unordered_map>

#include "HostAssignment.h"
#include "HostProductEdit.h"
#include "HostProducts.h"
#include "HostReplacement.h"
#include "ProductDocument.h"
#include "TavCopy.h"
#include "HostUndo.h"

namespace host {

namespace {

// What named an old descendant, to be made again on the new one of the same path.
struct Link {
  enum Kind { Relation, AssemblyPart, BehaviourInput, BehaviourOutput, Context } kind;
  Ref<TavBaseUnknown> owner;  // activity, assembly or behaviour
  TavUnicodeString type;      // of a relation
  std::vector<TavAttribute> attributes;
  std::string path;           // of the old descendant, below the instance
};

// Every descendant of `top` (not `top`) by its name path below it; the first of
// equal paths wins, as a path names the first match.
std::vector<std::pair<std::string, Ref<HostProduct>>> DescendantPaths(const Ref<HostProduct>& top) {
  std::vector<std::pair<std::string, Ref<HostProduct>>> out;
  for (auto& c : top->Children()) out.emplace_back(c->Name().utf8(), c);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const std::string base = out[i].first;
    for (auto& c : Ref<HostProduct>(out[i].second)->Children()) out.emplace_back(base + "/" + c->Name().utf8(), c);
  }
  return out;
}

// Relations in the old descendants' order; every other link in its owner's list
// order, so that made again on the new descendants they keep their order there.
std::vector<Link> LinksTo(const std::vector<std::pair<std::string, Ref<HostProduct>>>& old) {
  std::vector<Link> links;
  std::vector<std::pair<ProductPointer, const std::string*>> others;
  for (auto& [path, p] : old)
    for (ProductPointer& ptr : PointersTo(*p)) {
      if (ptr.kind == ProductPointer::Relation || ptr.kind == ProductPointer::Output)
        links.push_back({Link::Relation, ptr.owner, ptr.relation->GetRelationType(), ptr.relation->Attributes(), path});
      else
        others.emplace_back(std::move(ptr), &path);
    }
  std::stable_sort(others.begin(), others.end(), [](const auto& a, const auto& b) {
    return a.first.order != b.first.order ? a.first.order < b.first.order : a.first.place < b.first.place;
  });
  for (auto& [ptr, path] : others) {
    Link::Kind kind = Link::Context;
    if (ptr.kind == ProductPointer::AssemblyContent) kind = Link::AssemblyPart;
    if (ptr.kind == ProductPointer::BehaviourItem)
      kind = ptr.relation->Type() == HostBehavior::kInput() ? Link::BehaviourInput : Link::BehaviourOutput;
    links.push_back({kind, ptr.owner, {}, {}, *path});
  }
  return links;
}

// Makes one link again on `to`; a link its owner refuses now just goes.
void Relink(HostDocument& doc, const Link& l, const Ref<HostProduct>& to) {
  switch (l.kind) {
    case Link::Relation: {
      auto owner = std::dynamic_pointer_cast<HostActivity>(l.owner);
      Ref<TavISPPActivitySpecification> made;
      if (owner && doc.Holds(*owner) && SUCCEEDED(owner->CreateRelation(l.type, to, &made)) && made)
        if (auto holder = query<TavIAttributeHolder>(made))
          for (auto& a : l.attributes) holder->SetAttribute(a.name, a.value);
      break;
    }
    case Link::AssemblyPart:
      if (auto a = std::dynamic_pointer_cast<HostAssembly>(l.owner); a && doc.Holds(*a) && !a->HasPart(to.get())) a->AddPart(to);
      break;
    case Link::BehaviourInput:
    case Link::BehaviourOutput:
      if (auto b = std::dynamic_pointer_cast<HostBehavior>(l.owner))
        (void)(l.kind == Link::BehaviourInput ? b->AddInputItem(to) : b->AddOutputItem(to));
      break;
    case Link::Context:
      if (HostAssignmentContainer* assignment = AssignmentOf(doc, false)) assignment->AddContext(l.owner, to);
      break;
  }
}

class HostProductAutomation final : public virtual TavIAProduct {
public:
  explicit HostProductAutomation(Ref<HostProduct> father) : father_(std::move(father)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return father_; }
  HRESULT ReplaceComponent(const Ref<TavBaseUnknown>& instance, const TavUnicodeString& path, std::string& error) override {
    auto p = std::dynamic_pointer_cast<HostProduct>(instance ? instance->ExtendedObject() : nullptr);
    return ReplaceProductInstance(father_, p, path.utf8(), error);
  }

private:
  Ref<HostProduct> father_;
};

}  // namespace

HRESULT ReplaceProductInstance(const Ref<HostProduct>& father, const Ref<HostProduct>& instance, const std::string& path,
                               std::string& error) {
  error.clear();
  HostDocument* doc = instance ? instance->Doc() : nullptr;
  if (!doc || !father || !doc->Holds(*instance) || instance->Father() != father) {
    error = "'" + (instance ? instance->Name().utf8() : std::string("(none)")) + "' is no product under '" +
            (father ? father->Name().utf8() : std::string()) + "'";
    return E_FAIL;
  }
  if (instance->IsResource()) {
    error = "'" + instance->Name().utf8() + "' is a resource, not a product";
    return E_FAIL;
  }
  Ref<HostDocument> source = LoadProductDocument(path, error);
  if (!source) return E_FAIL;
  const Ref<HostProduct> from = source->Products().roots_.front();

  // A refusal half-way takes back what changed before it (when the change is recorded).
  UndoJournal& journal = doc->Journal();
  const bool recording = journal.InTransaction();
  const std::size_t mark = recording ? journal.Mark() : 0;
  auto fail = [&](const std::string& why) {
    if (recording) journal.RollBack(mark, nullptr);
    error = path + ": " + why;
    return E_FAIL;
  };
  const auto old = DescendantPaths(instance);
  const std::vector<Link> links = LinksTo(old);
  std::vector<Ref<HostProduct>> gone;
  gone.reserve(old.size());
  for (auto& [p, d] : old) gone.push_back(d);
  DropLinksTo(*doc, gone);
  std::string why;
  for (auto& child : std::vector(instance->Children()))
    if (!DetachProduct(*doc, child, why)) return fail(why);
  // The new structure, each child under its own name as the document has it.
  for (auto& child : from->Children()) {
    Ref<HostProduct> made;
    if (FAILED(AddProductInstance(instance, child, made, why))) return fail(why);
    if (made->Name() != child->Name()) made->SetName(child->Name());
  }
  // A sibling may have the document's name already: paths name the first match.
  TavUnicodeString name = from->Name();
  for (auto& sibling : father->Children())
    if (sibling != instance && sibling->Name() == name) {
      name = InstanceName(*father, name);
      break;
    }
  if (instance->Name() != name) instance->SetName(name);
  if (instance->PartNumber() != from->PartNumber()) instance->SetPartNumber(from->PartNumber());
  for (auto& a : std::vector(instance->Attributes()))
    if (!from->GetAttribute(a.name)) instance->RemoveAttribute(a.name);
  for (auto& a : from->Attributes()) instance->SetAttribute(a.name, a.value);

  std::unordered_map<std::string, Ref<HostProduct>> byPath;
  for (auto& [p, made] : DescendantPaths(instance)) byPath.emplace(p, made);
  for (const Link& l : links)
    if (auto it = byPath.find(l.path); it != byPath.end()) Relink(*doc, l, it->second);
  return S_OK;
}

void RegisterProductReplacing() {
  TavExtensionRegistry::Get().Register("TavAProducts", TavIAProduct::kInterfaceName, [](const Ref<TavBaseUnknown>& o) -> Ref<TavBaseUnknown> {
    auto father = std::dynamic_pointer_cast<HostProduct>(o ? o->ExtendedObject() : nullptr);
    return father ? std::make_shared<HostProductAutomation>(father) : nullptr;
  });
}

void RegisterReplacementHost() {
  RegisterProductPointers();
  RegisterProductReplacing();
}

}  // namespace host
