#include "HostPlanner.h"

#include <algorithm>

#include "HostUndo.h"

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

// A TSA of the document: put back (attach) or taken away.
class TsaUndo final : public UndoAction {
public:
  TsaUndo(HostContExt& ext, Ref<HostRootActivity> tsa, std::size_t index, bool attach)
      : ext_(ext), tsa_(std::move(tsa)), index_(index), attach_(attach) {}
  std::size_t Bytes() const override { return sizeof(*this); }
  bool Apply(HostDocument& doc, std::string& why) override {
    auto& list = ext_.tsas_;
    auto at = std::find(list.begin(), list.end(), tsa_);
    if (attach_) {
      if (at != list.end() || index_ > list.size() || !doc.RestoreId(*tsa_)) {
        why = "the TSA '" + tsa_->GetLabel().utf8() + "' cannot be put back: its place or its id is taken";
        return false;
      }
      list.insert(list.begin() + static_cast<std::ptrdiff_t>(index_), tsa_);
    } else {
      if (at == list.end()) {
        why = "the TSA '" + tsa_->GetLabel().utf8() + "' is no longer in the document";
        return false;
      }
      index_ = static_cast<std::size_t>(at - list.begin());
      list.erase(at);
      doc.ReleaseId(*tsa_);
    }
    doc.Recording()->Add(std::make_unique<TsaUndo>(ext_, tsa_, index_, !attach_));
    return true;
  }

private:
  HostContExt& ext_;  // the document's: it outlives the journal
  Ref<HostRootActivity> tsa_;
  std::size_t index_;
  bool attach_;
};

Ref<HostRootActivity> HostContExt::CreateTSA(const std::string& id, const TavUnicodeString& label, const std::string& type) {
  auto t = doc_->CreateDetachedRoot(id, label, type);
  tsas_.push_back(t);
  if (UndoLog* log = doc_->Recording()) log->Add(std::make_unique<TsaUndo>(*this, t, 0, false));
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
