#pragma once
// The navigation box: a tree of graph nodes over model objects (or the dialog's
// own node objects). A node's children are its object's navigation children
// (TavINavigateObjectActivity); its text is the object's first identificator; its
// look (icon) is set by the modify extension of the node or of its object.
#include <functional>

#include "TavActivityLib.h"
#include "TavDialog.h"

// One graph node of a navigation box. Its late type is its object's late type
// followed by "_node" ("LibraryActivity_node"), so that modify extensions can be
// registered per kind of node.
class TavNavigNode : public TavBaseUnknown {
public:
  TavNavigNode(Ref<TavBaseUnknown> object, std::string lateType);
  ~TavNavigNode() override;
  std::string LateType() const override { return lateType_; }
  const Ref<TavBaseUnknown>& GetObject() const { return object_; }
  TavUnicodeString GetText() const;  // the object's first identificator
  // The icon shown; empty: the box's default look.
  const TavUnicodeString& GetIconName() const { return icon_; }
  void SetIconName(const TavUnicodeString& icon) { icon_ = icon; }
  void SetDefaultLook() { icon_ = {}; }
  bool IsExpanded() const { return expanded_; }
  void SetExpanded(bool e) { expanded_ = e; }
  const std::vector<Ref<TavNavigNode>>& Children() const { return children_; }
  // The node above (while the box holds both), or null at a root.
  const TavNavigNode* GetFather() const { return father_; }
  // Its object already stands on its ancestor line: its children are not shown.
  bool IsCycle() const { return cycle_; }

private:
  friend class TavDlgNavigBox;
  Ref<TavBaseUnknown> object_;
  std::string lateType_;
  TavUnicodeString icon_;
  bool expanded_ = false;
  bool cycle_ = false;
  TavNavigNode* father_ = nullptr;
  std::vector<Ref<TavNavigNode>> children_;
};

// Sets a node's look. Looked up on the node (by its late type), else on its object.
class TavINavigModify : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavINavigModify);
  virtual void UpdateElem(TavNavigNode& node) = 0;
};

class TavDlgNavigBox : public TavDlgWidget {
public:
  TavDlgNavigBox(TavDlgWidget* father, std::string name, std::string graphStyle = "ObjNavDefault", int width = 250,
                 int height = 300);
  const std::string& GetGraphStyle() const { return style_; }
  int GetWidth() const { return width_; }
  int GetHeight() const { return height_; }

  // Roots, in the order added. Adding a root builds its graph at once.
  void AddRoot(const Ref<TavBaseUnknown>& object);
  void RemoveRoot(const Ref<TavBaseUnknown>& object);
  void RemoveAllRoots();
  const std::vector<Ref<TavNavigNode>>& Roots() const { return roots_; }
  // Rebuilds every node from the objects' current children and looks; a node that is
  // still there keeps its expansion.
  void Redraw();
  // Expands the node (and, when `all`, everything below it).
  void Expand(TavNavigNode& node, bool all = false);
  void ExpandAll();
  // The node of an object (first in display order), or null.
  TavNavigNode* FindNode(const Ref<TavBaseUnknown>& object) const;
  // Makes a node visible: expands its ancestors and selects it.
  void ShowNode(const TavNavigNode& node);
  const TavNavigNode* GetSelected() const { return selected_; }
  int GetNodeCount() const;

  // Script access: a path (as ResolvePath takes it) shows and selects that node;
  // the value is the selected node's path.
  bool SetValueFromText(const std::string& value, std::string* error) override;
  std::string ValueText() const override;

  // A path of node texts from a root, separated by "/" ("\/" and "\\" inside a
  // text, as in object paths). A segment names a node whose
  // text equals it, else one whose text ends with "/" followed by it (a library node
  // named by a file path: "body.act"). The objects from the root to that node, or
  // false with `error` set.
  bool ResolvePath(const std::string& path, std::vector<Ref<TavBaseUnknown>>& objects, std::string* error) const;
  // The node at such a path, or null with `error` set.
  TavNavigNode* ResolveNode(const std::string& path, std::string* error) const;

protected:
  // The style and size, then one line a node (children of collapsed nodes too),
  // indented by depth: "- " expanded, "+ " collapsed, ". " a leaf; then the text
  // ("" when empty), the icon in brackets ("[default]" for the default look),
  // " (cycle)" where the cycle guard cut the children, " (selected)".
  void DumpDetails(std::string& out, int indent) const override;

private:
  // Builds the graph below `object`; `previous` is the node that stood at the same
  // place before a redraw (its expansion and selection carry over), or null.
  Ref<TavNavigNode> Build(const Ref<TavBaseUnknown>& object, const TavNavigNode* previous);
  std::string style_;
  int width_, height_;
  std::vector<Ref<TavNavigNode>> roots_;
  const TavNavigNode* selected_ = nullptr;
};
