#include "HostHighlight.h"

#include <unordered_map>
#include <unordered_set>

#include "HostChanges.h"
#include "TavModelChanges.h"
#include "TavServices.h"
#include "TavViewpoint.h"

namespace host {

namespace {

// What each editor's viewpoint holds, kept beside the editor: the extension is made
// anew for each query. An entry whose editor is gone is dropped when met again.
struct Attachments {
  std::weak_ptr<TavBaseUnknown> editor;
  std::vector<std::weak_ptr<TavBaseUnknown>> order;
  std::unordered_set<const TavBaseUnknown*> held;
};
std::unordered_map<const TavBaseUnknown*, Attachments>& Table() {
  static std::unordered_map<const TavBaseUnknown*, Attachments> table;
  return table;
}

class HostViewpoint final : public virtual TavI3DViewpoint {
public:
  explicit HostViewpoint(Ref<TavBaseUnknown> editor) : editor_(std::move(editor)) {}
  Ref<TavBaseUnknown> ExtendedObject() override { return editor_; }

  bool IsAttached(const Ref<TavBaseUnknown>& object) const override {
    if (!object) return false;
    const Attachments* a = Find();
    return a && a->held.count(object->ExtendedObject().get()) > 0;
  }
  HRESULT Attach(const Ref<TavBaseUnknown>& object) override {
    if (!object) return E_FAIL;
    Attachments& a = Entry();
    Ref<TavBaseUnknown> key = object->ExtendedObject();
    if (!a.held.insert(key.get()).second) return S_FALSE;
    a.order.push_back(key);
    return S_OK;
  }
  std::vector<Ref<TavBaseUnknown>> GetAttached() const override {
    std::vector<Ref<TavBaseUnknown>> out;
    if (const Attachments* a = Find())
      for (const auto& w : a->order)
        if (auto o = w.lock()) out.push_back(std::move(o));
    return out;
  }

private:
  const Attachments* Find() const {
    auto it = Table().find(editor_.get());
    return it == Table().end() || it->second.editor.lock() != editor_ ? nullptr : &it->second;
  }
  Attachments& Entry() {
    Attachments& a = Table()[editor_.get()];
    if (a.editor.lock() != editor_) a = Attachments{editor_, {}, {}};  // a new editor at an old address
    return a;
  }
  Ref<TavBaseUnknown> editor_;
};

}  // namespace

void RegisterHighlightHost() {
  TavInterfaceNames::Declare<TavI3DViewpoint>();
  TavModelChanges::Install(ModelChangeCount);
  TavExtensionRegistry::Get().Register("TavFrmEditor", TavI3DViewpoint::kInterfaceName,
                                       [](const Ref<TavBaseUnknown>& editor) -> Ref<TavBaseUnknown> {
                                         return std::make_shared<HostViewpoint>(editor);
                                       });
}

}  // namespace host
