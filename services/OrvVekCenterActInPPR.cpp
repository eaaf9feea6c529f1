#include "OrvVekCenterActInPPR.h"

#include <unordered_set>

#include "ServicesTrace.h"
#include "TavGraph.h"

namespace {
constexpr const char* kClass = "OrvVekCenterActInPPR";

std::vector<Ref<TavBaseUnknown>> ChildrenOf(const Ref<TavBaseUnknown>& o) {
  auto children = query<TavISPPChildManagement>(o);
  return children ? children->GetChildren() : std::vector<Ref<TavBaseUnknown>>{};
}

// The father the tree shows an object under: an activity's father (a behaviour's is
// its resource), a product's father product.
// The list or container the tree shows a top object in: root products and resources
// under their lists, assemblies under the assembly container.
Ref<TavBaseUnknown> ContainerOf(const Ref<TavBaseUnknown>& top) {
  auto doc = TavDocumentOf(top);
  if (!doc) return nullptr;
  if (auto p = query<TavIProduct>(top))
    return doc->GetRootContainer(p->IsResource() ? TavIPPRResourceList::kInterfaceName : TavIPPRProductList::kInterfaceName);
  if (query<OrvIMfgAssembly>(top)) return doc->GetRootContainer(TavIMfgAssemblyContainer::kInterfaceName);
  return nullptr;
}

Ref<TavFrmEditor> EditorOf(const Ref<TavBaseUnknown>& window) {
  if (auto owned = query<TavIFrmWindowEditor>(window))
    if (auto ed = owned->GetWindowEditor()) return ed;
  return TavFrmEditor::GetCurrentEditor();
}
}  // namespace

bool OrvVekCenterActInPPR::RecenterInPPRViewer(const Ref<TavBaseUnknown>& object, bool autoExpand,
                                              const Ref<TavFrmWindow>& window, bool indicate, bool rollback, bool flag) {
  TavTraceScope scope(ServicesTrace(), kClass, "RecenterInPPRViewer");
  Ref<TavFrmWindow> target = window;
  if (!target)
    if (auto* frame = TavFrmLayoutWindows::Get()) target = frame->GetCurrentWindow();
  auto tree = query<TavNewInventorySpaceWnd>(target);
  if (!tree || !object) return false;
  auto navigBox = tree->GetNavigBox();
  auto controller = tree->GetController();
  if (!navigBox || !controller) return false;

  TavPathElement path({object});
  // One redraw for the whole centring, on the plant as it is now.
  controller->LockGraphUpdates();
  if (query<TavISPPAbstractActivity>(object)) OpenFirstProcessNode(navigBox, controller);
  AppendFather(path);
  if (flag) {
    ResetNodesBackground(controller);
    // The object centred before may be a product or resource, outside the processes.
    if (auto last = navigBox->GetVisibleNode()) controller->ResetDecoration(last);
  }

  Ref<TavIPPRTreeNode> node;
  for (const auto& element : path.Objects()) {
    if (!node) {
      for (auto& n : controller->GetAssociatedNodes(element))
        if (!n->GetFatherNode()) {
          node = n;
          break;
        }
    } else {
      node = ExpandVirtualNodes(node, element, controller, autoExpand);
    }
    if (!node) break;
  }
  const bool found = node != nullptr;
  if (found) {
    navigBox->MakeNodeVisible(node);
    if (indicate) {
      controller->ShowDecoration(node);
      controller->SetShadowColor(node, kShadowRed, kShadowGreen, kShadowBlue);
    }
  }
  if (rollback) RollBackPath(path);
  controller->UnlockGraphUpdates();
  return found;
}

void OrvVekCenterActInPPR::HighlightAndCenterObject(const Ref<TavBaseUnknown>& object) {
  TavTraceScope scope(ServicesTrace(), kClass, "HighlightAndCenterObject");
  auto editor = TavFrmEditor::GetCurrentEditor();
  if (!editor || !object) return;
  // The selection as a pick would give it: from the object's tree root down to it.
  TavPathElement path({object});
  AppendFather(path);
  std::vector<Ref<TavBaseUnknown>> objects = path.Objects();
  if (objects.size() > 1 && (query<TavIPPRRootList>(objects.front()) || query<TavIMfgAssemblyContainer>(objects.front())))
    objects.erase(objects.begin());
  TavSelectionSet& cso = editor->GetCSO();
  cso.Empty();
  cso.AddElement(TavPathElement(std::move(objects)));
  // The host's viewers read the selection sets as they draw: the change reaches
  // them without a notice. The tree windows then show the object.
  auto* frame = TavFrmLayoutWindows::Get();
  if (!frame) return;
  for (const auto& window : frame->GetWindows()) RecenterInPPRViewer(object, true, window, true, true, true);
}

HRESULT OrvVekCenterActInPPR::OpenFirstProcessNode(const Ref<TavIPPRNavigBox>& navigBox,
                                                  const Ref<TavIPPRTreeController>& controller) {
  TavTraceScope scope(ServicesTrace(), kClass, "OpenFirstProcessNode");
  if (!controller) return E_FAIL;
  Ref<TavIPPRTreeNode> first;
  for (auto& root : controller->GetRootNodes())
    if (IsProcessTree(root)) {
      first = root;
      break;
    }
  if (!first) return E_FAIL;
  controller->LockGraphUpdates();
  const bool wasFixed = controller->IsFixedDepthMode();
  controller->SetFixedDepthMode(true);
  const HRESULT hr = ExpandBranch(first->GetObject(), 1, navigBox, controller);
  controller->SetFixedDepthMode(wasFixed);
  controller->UnlockGraphUpdates();
  return hr;
}

Ref<TavBaseUnknown> OrvVekCenterActInPPR::FatherOf(const Ref<TavBaseUnknown>& o) {
  if (auto a = query<TavISPPAbstractActivity>(o)) return a->GetFather();
  if (auto p = query<TavIProduct>(o)) {
    auto f = p->GetFatherProduct();
    return f ? Ref<TavBaseUnknown>(f) : nullptr;
  }
  return nullptr;
}

int OrvVekCenterActInPPR::AppendFather(TavPathElement& path) {
  TavTraceScope scope(ServicesTrace(), kClass, "AppendFather");
  if (path.IsEmpty()) return 0;
  std::vector<Ref<TavBaseUnknown>> above;  // nearest first
  std::unordered_set<const void*> seen{path.GetTop()->ExtendedObject().get()};
  Ref<TavBaseUnknown> top = path.GetTop();
  for (Ref<TavBaseUnknown> father = FatherOf(top); father; father = FatherOf(top)) {
    if (!seen.insert(father->ExtendedObject().get()).second) break;  // a broken model: never loop
    above.push_back(father);
    top = father;
  }
  if (auto container = ContainerOf(top)) above.push_back(container);
  if (above.empty()) return 0;
  std::vector<Ref<TavBaseUnknown>> objects(above.rbegin(), above.rend());
  objects.insert(objects.end(), path.Objects().begin(), path.Objects().end());
  path = TavPathElement(std::move(objects));
  return static_cast<int>(above.size());
}

void OrvVekCenterActInPPR::RollBackPath(TavPathElement& path) {
  TavTraceScope scope(ServicesTrace(), kClass, "RollBackPath");
  if (path.GetSize() > 1) path = TavPathElement({path.GetLeaf()});
}

void OrvVekCenterActInPPR::ResetNodesBackground(const Ref<TavIPPRTreeController>& controller) {
  TavTraceScope scope(ServicesTrace(), kClass, "ResetNodesBackground");
  auto editor = EditorOf(controller);
  auto doc = editor ? editor->GetDocument() : nullptr;
  auto container = doc ? query<TavISPPProcessContainer>(doc->GetRootContainer(TavISPPProcessContainer::kInterfaceName)) : nullptr;
  if (!container || !controller) return;
  for (const auto& root : container->GetRootActivities()) {
    std::vector<Ref<TavBaseUnknown>> activities{root};
    GetAllSubActivties(root, activities);
    for (const auto& a : activities)
      for (const auto& node : controller->GetAssociatedNodes(a)) controller->ResetDecoration(node);
  }
}

void OrvVekCenterActInPPR::GetAllSubActivties(const Ref<TavBaseUnknown>& top, std::vector<Ref<TavBaseUnknown>>& list) {
  TavTraceScope scope(ServicesTrace(), kClass, "GetAllSubActivties");
  struct Frame {
    std::vector<Ref<TavBaseUnknown>> children;
    std::size_t next = 0;
  };
  std::vector<Frame> stack;
  stack.push_back({ChildrenOf(top)});
  while (!stack.empty()) {
    Frame& f = stack.back();
    if (f.next == f.children.size()) {
      stack.pop_back();
      continue;
    }
    Ref<TavBaseUnknown> child = f.children[f.next++];
    list.push_back(child);
    // `f` is not used after this: the push may move it.
    if (auto grand = ChildrenOf(child); !grand.empty()) stack.push_back({std::move(grand)});
  }
}

Ref<TavIPPRTreeNode> OrvVekCenterActInPPR::ExpandVirtualNodes(const Ref<TavIPPRTreeNode>& parentNode,
                                                             const Ref<TavBaseUnknown>& child,
                                                             const Ref<TavIPPRTreeController>& controller, bool autoExpand) {
  if (!parentNode || !controller || !child) return nullptr;
  if (parentNode->IsVirtual()) {
    if (!autoExpand) return nullptr;
    if (FAILED(controller->ExpandVirtualNode(parentNode))) return nullptr;
  }
  for (auto& node : parentNode->GetChildNodes())
    if (SameObject(node->GetObject(), child)) return node;
  return nullptr;
}

HRESULT OrvVekCenterActInPPR::ExpandBranch(const Ref<TavBaseUnknown>& object, int depth, const Ref<TavIPPRNavigBox>& navigBox,
                                          const Ref<TavIPPRTreeController>& controller) {
  TavTraceScope scope(ServicesTrace(), kClass, "ExpandBranch");
  if (!controller) return E_FAIL;
  auto nodes = controller->GetAssociatedNodes(object);
  if (nodes.empty()) return E_FAIL;
  return ManageChildren(nodes.front(), depth, navigBox, controller);
}

HRESULT OrvVekCenterActInPPR::ManageChildren(const Ref<TavIPPRTreeNode>& node, int depth, const Ref<TavIPPRNavigBox>&,
                                            const Ref<TavIPPRTreeController>& controller) {
  if (!node || !controller) return E_FAIL;
  return depth > 0 ? controller->ExpandNode(node, depth) : S_OK;
}

bool OrvVekCenterActInPPR::IsProcessTree(const Ref<TavIPPRTreeNode>& node) {
  if (!node) return false;
  Ref<TavIPPRTreeNode> root = node;
  while (auto father = root->GetFatherNode()) root = father;
  return query<TavISPPActivityRoot>(root->GetObject()) != nullptr;
}
