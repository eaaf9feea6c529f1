#pragma once
// Centres an object in PPR tree windows: expands the tree down to it, makes its node
// visible and decorates it. Commands call RecenterInPPRViewer per window, or
// HighlightAndCenterObject to select an object and show it in every open tree.
#include "TavTreeWindow.h"

class OrvVekCenterActInPPR {
public:
  // Expands and centres `object` in a PPR tree window (`window`, else the current
  // window of the layout). False when that is no tree window or the object has no
  // node there.
  //   autoExpand: virtual nodes on the way are expanded; otherwise only nodes made
  //               already are followed.
  //   indicate:   the object's node is decorated and its shadow coloured.
  //   rollback:   the fathers added to the object's path are taken off again.
  //   flag:       the decorations of the process trees and of the node centred
  //               last are reset first.
  static bool RecenterInPPRViewer(const Ref<TavBaseUnknown>& object, bool autoExpand, const Ref<TavFrmWindow>& window,
                                  bool indicate, bool rollback, bool flag);
  // The object becomes the only element of the current selection, then is centred
  // in each window of the current layout.
  static void HighlightAndCenterObject(const Ref<TavBaseUnknown>& object);

  // ---- the steps, in the order RecenterInPPRViewer takes them
  // Opens the node of the first process, with graph updates locked and the
  // controller's fixed-depth mode on.
  static HRESULT OpenFirstProcessNode(const Ref<TavIPPRNavigBox>& navigBox, const Ref<TavIPPRTreeController>& controller);
  // Puts the fathers of the path's top above it up to the tree root: an activity's
  // father activities (a behaviour's resource and its fathers), a product's fathers,
  // then the list or container the tree shows them in. How many were added.
  static int AppendFather(TavPathElement& path);
  // The object above in its tree: an activity's father, a product's or resource's
  // father product; null at a root.
  static Ref<TavBaseUnknown> FatherOf(const Ref<TavBaseUnknown>& object);
  // Takes the added fathers off again: the path is its leaf alone.
  static void RollBackPath(TavPathElement& path);
  // Resets the decorations of the nodes of every process and of all its sub activities.
  static void ResetNodesBackground(const Ref<TavIPPRTreeController>& controller);
  // Every activity below `top`, depth first, parent before children. Walked with an
  // explicit stack: a deep process cannot exhaust the call stack.
  static void GetAllSubActivties(const Ref<TavBaseUnknown>& top, std::vector<Ref<TavBaseUnknown>>& list);
  // The node of `child` under `parentNode`, the parent's virtual children made first
  // when `autoExpand`; null when there is none.
  static Ref<TavIPPRTreeNode> ExpandVirtualNodes(const Ref<TavIPPRTreeNode>& parentNode, const Ref<TavBaseUnknown>& child,
                                                 const Ref<TavIPPRTreeController>& controller, bool autoExpand);
  // Shows `depth` levels below the node of `object` (its first node).
  static HRESULT ExpandBranch(const Ref<TavBaseUnknown>& object, int depth, const Ref<TavIPPRNavigBox>& navigBox,
                              const Ref<TavIPPRTreeController>& controller);
  static HRESULT ManageChildren(const Ref<TavIPPRTreeNode>& node, int depth, const Ref<TavIPPRNavigBox>& navigBox,
                                const Ref<TavIPPRTreeController>& controller);
  // Whether the node belongs to a process tree (its root stands for a root process).
  static bool IsProcessTree(const Ref<TavIPPRTreeNode>& node);

  // The shadow colour of a centred node.
  static constexpr int kShadowRed = 255, kShadowGreen = 170, kShadowBlue = 0;
};
