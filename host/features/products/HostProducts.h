#pragma once
// Product structure editing on the reference host: instances of a product's
// reference, block-movable placement, the notifications the product structure and
// the process tree are sent, the document's resource contexts, and plant files read
// as a source of resources (docs/plant-format.md, "Instances, contexts and
// block-movable products").
#include <deque>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "HostModel.h"
#include "TavResources.h"

namespace host {

// What the product structure and the process tree of one document were told, in
// order. An entry keeps the objects it names and their paths are made when it is
// read: a command that tells every activity of a deep process pays no path walk per
// activity. A removed product's path is taken when it is sent, since it has none
// after. Only the newest kMaxEntries are kept; the count of older ones is reported.
class HostNotifications final : public virtual TavBaseUnknown {
public:
  static constexpr std::size_t kMaxEntries = 10000;
  explicit HostNotifications(HostDocument*) {}
  // text + path(object) + middle + path(other) + tail; a null object adds no path.
  void Add(std::string text, std::weak_ptr<TavBaseUnknown> object = {}, std::string middle = {},
           std::weak_ptr<TavBaseUnknown> other = {}, std::string tail = {});
  std::size_t Size() const { return entries_.size(); }
  // What was recorded since the last call, one printable line each (the oldest
  // dropped ones as one line first); the record starts again empty.
  std::vector<std::string> Take();

private:
  struct Entry {
    std::string text, middle, tail;
    std::weak_ptr<TavBaseUnknown> object, other;
  };
  std::deque<Entry> entries_;
  std::size_t dropped_ = 0;
};
HostNotifications* NotificationsOf(const HostDocument& doc);

// The document's resource contexts, in the order added. Changes are recorded for undo.
class HostResourceContexts final : public virtual TavIResourceContexts {
public:
  explicit HostResourceContexts(HostDocument* doc) : doc_(doc) {}
  std::vector<Ref<TavIProduct>> GetResourceContexts() const override { return {list_.begin(), list_.end()}; }
  HRESULT AddResourceContext(const Ref<TavBaseUnknown>& resource) override;
  HRESULT RemoveResourceContext(const Ref<TavBaseUnknown>& resource) override;
  bool IsResourceContext(const Ref<TavBaseUnknown>& resource) const override;
  bool IsUnderResourceContext(const Ref<TavBaseUnknown>& resource) const override;

  const std::vector<Ref<HostProduct>>& List() const { return list_; }
  // Loading: a resource of this document not listed yet, appended unrecorded.
  void AppendLoaded(Ref<HostProduct> r) { list_.push_back(std::move(r)); }

private:
  friend class ResourceContextUndo;
  Ref<HostProduct> ResourceOf(const Ref<TavBaseUnknown>& o) const;
  HostDocument* doc_;
  std::vector<Ref<HostProduct>> list_;
};
HostResourceContexts* ResourceContextsOf(const HostDocument& doc);

// The products of a document that do not move as one block with their children
// (every other product does). Changes are recorded for undo.
class HostBlockMovable final : public virtual TavBaseUnknown {
public:
  explicit HostBlockMovable(HostDocument*) {}
  bool IsBlockMovable(const HostProduct& p) const;
  // Recorded when the document records; false when it was so already.
  bool Set(const Ref<HostProduct>& p, bool movable);

private:
  // By object, checked against the handle: a product taken out and put back by
  // undo keeps its setting, and a new product at a reused address has none.
  std::unordered_map<const HostProduct*, std::weak_ptr<HostProduct>> fixed_;
};
HostBlockMovable* BlockMovableOf(const HostDocument& doc);

// A new child of `father` made after `of` (a product of any document) and its
// structure: fresh ids, part number, resource type, attributes and position copied,
// the instance name unique among the father's children (InstanceName). E_FAIL with
// `why` when `of` is missing, is the father or one of its ancestors, or is of the
// other kind (product where the father is a resource, or the reverse).
HRESULT AddProductInstance(const Ref<HostProduct>& father, const Ref<TavIProduct>& of, Ref<HostProduct>& created,
                           std::string& why);
// Takes a child of `father` and its subtree out of the document, and with them every
// link into the subtree (DropLinksTo).
HRESULT RemoveProductInstance(const Ref<HostProduct>& father, const Ref<HostProduct>& child, std::string& why);
// The relations of the document's activities naming one of `gone` (a product or
// resource and its descendants): relations and flow outputs, behaviour items, the activities' 3D
// contexts and the resource contexts among them are dropped, recorded for undo.
// The number of relations and items dropped.
std::size_t DropLinksTo(HostDocument& doc, const std::vector<Ref<HostProduct>>& gone);
// A product or resource and its descendants, parent before children.
std::vector<Ref<HostProduct>> SubtreeOf(const Ref<HostProduct>& resource);

// "Robot.1" among children "Robot.1" -> "Robot.2": a trailing ".N" is dropped, and
// the smallest ".N" (N >= 1) no child of `father` has is added, also to a name
// that had none ("Robot" -> "Robot.1").
TavUnicodeString InstanceName(const HostProduct& father, const TavUnicodeString& name);

// The plant files read as a source of resources stay open for the session; this
// closes them (tests).
void ForgetPlantFiles();

// Registers the product and resource extensions, the activities' modification
// events, the containers of every document, the plant elements <resourceContexts>
// and <blockMovable>, and installs the plant file reader.
void RegisterProductsHost();
void RegisterProductsPlant();  // ProductsPlant.cpp

}  // namespace host
