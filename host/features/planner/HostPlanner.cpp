#include "HostPlanner.h"

namespace host {

namespace {
class HostMonoProcess final : public virtual TavISPPMonoProcessContainer {
public:
  HostMonoProcess(Ref<HostRootActivity> root, HostContExt* ext) : root_(std::move(root)), ext_(ext) {}
  Ref<TavISPPActivity> GetRootActivity() const override { return root_; }
  void SendModification(const Ref<TavISPPActivity>& activity, int kind) override {
    auto id = query<TavIModelIdentity>(activity);
    ext_->Record(id ? id->GetId().utf8() : std::string(), kind);
  }

private:
  Ref<HostRootActivity> root_;
  HostContExt* ext_;
};

class HostPlannerServices final : public TavPlannerHost {
public:
  std::vector<Ref<TavBaseUnknown>> GetAllTSAs(const Ref<TavDocument>& doc) override {
    auto hd = std::dynamic_pointer_cast<HostDocument>(doc);
    HostContExt* ext = hd ? ContExtOf(*hd) : nullptr;
    if (!ext) return {};
    return {ext->TSAs().begin(), ext->TSAs().end()};
  }
};
}  // namespace

std::vector<Ref<TavISPPMonoProcessContainer>> HostContExt::GetMonoProcessContainers() const {
  std::vector<Ref<TavISPPMonoProcessContainer>> out;
  for (auto& r : doc_->Process().roots_) out.push_back(std::make_shared<HostMonoProcess>(r, const_cast<HostContExt*>(this)));
  return out;
}

Ref<HostRootActivity> HostContExt::CreateTSA(const std::string& id, const TavUnicodeString& label, const std::string& type) {
  auto t = doc_->CreateDetachedRoot(id, label, type);
  tsas_.push_back(t);
  return t;
}

HostContExt* ContExtOf(const HostDocument& doc) { return doc.FindContainer<HostContExt>(); }

void RegisterPlannerHost() {
  static HostPlannerServices services;
  TavPlannerHost::Install(&services);
  RegisterDocumentInitialiser([](HostDocument& d) { d.AddContainer(std::make_shared<HostContExt>(&d)); });
  RegisterTsaSection();
}

}  // namespace host
