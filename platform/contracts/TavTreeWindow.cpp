#include "TavTreeWindow.h"

namespace {
TavNewInventorySpaceWnd::Factory& TreeFactory() {
  static TavNewInventorySpaceWnd::Factory f;
  return f;
}
}  // namespace

Ref<TavNewInventorySpaceWnd> TavNewInventorySpaceWnd::Create(const Ref<TavFrmEditor>& editor) {
  return TreeFactory() && editor ? TreeFactory()(editor) : nullptr;
}

void TavNewInventorySpaceWnd::InstallFactory(Factory f) { TreeFactory() = std::move(f); }

void TavDeclareTreeWindowInterfaces() {
  TavInterfaceNames::Declare<TavIPPRTreeNode>();
  TavInterfaceNames::Declare<TavIPPRTreeController>();
  TavInterfaceNames::Declare<TavIPPRNavigBox>();
  TavInterfaceNames::Declare<TavNewInventorySpaceWnd>();
}
