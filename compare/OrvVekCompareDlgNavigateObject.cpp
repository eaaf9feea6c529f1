#include "OrvVekCompareDlgNavigateObject.h"

// Releases the subtree without recursion: a tree is as deep as its process.
OrvVekCompareDlgNavigateObject::~OrvVekCompareDlgNavigateObject() {
  std::vector<Ref<OrvVekCompareDlgNavigateObject>> work = std::move(children_);
  while (!work.empty()) {
    Ref<OrvVekCompareDlgNavigateObject> n = std::move(work.back());
    work.pop_back();
    if (n.use_count() == 1)
      for (auto& c : n->children_) work.push_back(std::move(c));
  }
}

OrvVekCompareDlgNavigateObject* OrvVekCompareDlgNavigateObject::AddChild(Ref<OrvVekCompareDlgNavigateObject> child) {
  const int c = child->icon_;
  if (c == Modified) {
    if (icon_ == NoIcon) icon_ = ChildModified;
    else if (icon_ == Modified) icon_ = ModifiedChildModified;
  } else if (c == Added || c == Removed) {
    if (icon_ == NoIcon || icon_ == ChildModified || icon_ == ChildAddedOrRemoved) icon_ = ChildAddedOrRemoved;
    else if (icon_ == Added || icon_ == Removed || icon_ == Modified || icon_ == ModifiedChildModified ||
             icon_ == ChangedChildAddedOrRemoved)
      icon_ = ChangedChildAddedOrRemoved;
  } else if (c == Folder) {
    icon_ = Folder;
  }
  children_.push_back(std::move(child));
  return children_.back().get();
}

const char* OrvVekCompareDlgNavigateObject::IconName(int icon) {
  switch (icon) {
    case Added: return "I_OrvVekCompToolNew";
    case Removed: return "I_OrvVekCompToolRem";
    case Modified: return "I_OrvVekCompToolMod";
    case ChildModified: return "I_OrvVekCompToolChMod";
    case ChildAddedOrRemoved: return "I_OrvVekCompToolChNewRem";
    case ModifiedChildModified: return "I_OrvVekCompToolNoChMod";
    case ChangedChildAddedOrRemoved: return "I_OrvVekCompToolNoChNewRem";
    case Folder: return "I_OrvVekCompToolFolder";
    default: return "";
  }
}
