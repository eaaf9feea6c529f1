#pragma once
// The nodes of the add-activity dialog's type tree: a library node and a type (or
// sub-type) node. Each navigates to its own children and shows its own icon.
#include "TavActivityLib.h"
#include "TavNavigBox.h"

class OrvVekActivityDlgNavigateObjectBase : public virtual TavINavigateObjectActivity, public virtual TavINavigModify {
public:
  OrvVekActivityDlgNavigateObjectBase(TavUnicodeString identifier, bool isRoot);
  std::vector<TavUnicodeString> GetIdentificators() const override { return {identifier_}; }
  std::vector<Ref<TavBaseUnknown>> GetChildren() const override { return children_; }
  void UpdateElem(TavNavigNode& node) override { node.SetIconName(icon_); }

  const TavUnicodeString& GetIdentifier() const { return identifier_; }
  bool IsRoot() const { return isRoot_; }
  void AddChild(const Ref<TavBaseUnknown>& child) { children_.push_back(child); }
  const TavUnicodeString& GetIconName() const { return icon_; }
  void SetIconName(const TavUnicodeString& icon) { icon_ = icon; }
  // The icon a node of that identifier starts with (empty for a root node).
  static TavUnicodeString InitialIconName(const TavUnicodeString& identifier, bool isRoot);

private:
  TavUnicodeString identifier_, icon_;
  bool isRoot_;
  std::vector<Ref<TavBaseUnknown>> children_;
};

// A library: its full path, its types below it.
class OrvVekActivityDlgRootNavigateObject final : public OrvVekActivityDlgNavigateObjectBase {
public:
  using OrvVekActivityDlgNavigateObjectBase::OrvVekActivityDlgNavigateObjectBase;
  std::string LateType() const override { return "OrvVekActivityDlgRootNavigateObject"; }
};

// An activity type or sub-type the user can choose.
class OrvVekActivityDlgNavigateObject final : public OrvVekActivityDlgNavigateObjectBase {
public:
  using OrvVekActivityDlgNavigateObjectBase::OrvVekActivityDlgNavigateObjectBase;
  std::string LateType() const override { return "OrvVekActivityDlgNavigateObject"; }
};
