// Navigation box paths from arbitrary bytes, resolved in a fixed box with file-path
// roots (one also named by its bare file name), texts holding "/" and "\", twins,
// a wide level, a deep chain and a cycle.
// Never a crash; the selected node's path, as the box prints it, finds that node again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "TavNavigBox.h"

namespace {

class Node : public TavINavigateObjectActivity {
public:
  explicit Node(std::string text) : text_(std::move(text)) {}
  std::vector<TavUnicodeString> GetIdentificators() const override { return {text_}; }
  std::vector<Ref<TavBaseUnknown>> GetChildren() const override {
    std::vector<Ref<TavBaseUnknown>> out;
    for (auto& c : children_) out.push_back(c.lock());
    return out;
  }
  std::vector<std::weak_ptr<TavBaseUnknown>> children_;
  std::string text_;
};

std::vector<Ref<Node>> g_nodes;
TavDlgNavigBox* g_box = nullptr;

Ref<Node> Make(std::string text, const Ref<Node>& father = nullptr) {
  auto n = std::make_shared<Node>(std::move(text));
  g_nodes.push_back(n);
  if (father) father->children_.push_back(n);
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  auto body = Make("/libs/body.act"), old = Make("/old/body.act"), bare = Make("body.act"), paint = Make("/p/paint.act");
  auto weld = Make("Weld", body);
  Make("Spot", weld);
  Make("Twin", body);
  Make("Twin", body);
  Make("a/b", body);
  Make("back\\slash\\", body);
  Make("", body);
  for (int i = 0; i < 300; ++i) Make("Type." + std::to_string(i % 250), old);
  Ref<Node> deep = bare;
  for (int i = 0; i < 60; ++i) deep = Make("Step." + std::to_string(i % 3), deep);
  paint->children_.push_back(paint);  // a cycle
  g_box = new TavDlgNavigBox(nullptr, "Fuzz");
  for (auto& r : {body, old, bare, paint}) g_box->AddRoot(r);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path(reinterpret_cast<const char*>(data), size);
  std::string error;
  std::vector<Ref<TavBaseUnknown>> objects;
  const bool found = g_box->ResolvePath(path, objects, &error);
  if (found != error.empty() || found == objects.empty()) std::abort();
  if (!found) return 0;
  TavNavigNode* node = g_box->ResolveNode(path, nullptr);
  if (!node || node->GetObject() != objects.back()) std::abort();
  g_box->ShowNode(*node);
  if (g_box->ResolveNode(g_box->ValueText(), nullptr) != node) std::abort();
  return 0;
}
