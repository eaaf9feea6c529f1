#pragma once
// A node of a comparison's graphical tree: the object's display text, the icon of
// its change and its children. Adding a child tells the node about the child's own
// change (icons 0, 1, 2 and the folder), so a node shows what changed just below it.
// A navigation box shows the nodes: they name themselves and give their children
// (TavINavigateObjectActivity) and set their icon (TavINavigModify).
#include <vector>

#include "TavActivityLib.h"
#include "TavNavigBox.h"

class OrvVekCompareDlgNavigateObject final : public virtual TavINavigateObjectActivity, public virtual TavINavigModify {
public:
  enum Icon {
    NoIcon = -1,
    Added = 0,
    Removed = 1,
    Modified = 2,
    ChildModified = 3,             // unchanged, with a modified child
    ChildAddedOrRemoved = 4,       // unchanged, with an added or removed child
    ModifiedChildModified = 5,     // modified, with a modified child
    ChangedChildAddedOrRemoved = 6,  // changed itself, with an added or removed child
    Folder = 10,
  };

  OrvVekCompareDlgNavigateObject(TavUnicodeString identifier, int icon, Ref<TavBaseUnknown> object = nullptr)
      : identifier_(std::move(identifier)), icon_(icon), object_(std::move(object)) {}
  ~OrvVekCompareDlgNavigateObject() override;
  // Short, so that the navigation box's node type ("OrvCmpNode_node") needs no allocation.
  std::string LateType() const override { return "OrvCmpNode"; }

  const TavUnicodeString& GetIdentifier() const { return identifier_; }
  int GetIconType() const { return icon_; }
  void SetIconType(int icon) { icon_ = icon; }
  const Ref<TavBaseUnknown>& Object() const { return object_; }
  const std::vector<Ref<OrvVekCompareDlgNavigateObject>>& Children() const { return children_; }

  OrvVekCompareDlgNavigateObject* AddChild(Ref<OrvVekCompareDlgNavigateObject> child);
  // The icon resource of a type ("I_OrvVekCompToolNew" ...); empty for none.
  static const char* IconName(int icon);

  std::vector<TavUnicodeString> GetIdentificators() const override { return {identifier_}; }
  std::vector<Ref<TavBaseUnknown>> GetChildren() const override { return {children_.begin(), children_.end()}; }
  void UpdateElem(TavNavigNode& node) override { node.SetIconName(IconName(icon_)); }

private:
  TavUnicodeString identifier_;
  int icon_;
  Ref<TavBaseUnknown> object_;
  std::vector<Ref<OrvVekCompareDlgNavigateObject>> children_;
};
