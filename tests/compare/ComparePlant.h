#pragma once
// Two versions of a plant built in code, and the engine run over them.
#include <memory>
#include <string>

#include "HostCompare.h"
#include "HostRuntime.h"
#include "OrvVekCompareDlgBase.h"

namespace cmptest {

using host::HostActivity;
using host::HostDocument;
using host::HostProduct;
using E = OrvVekCompareDlgBase;

// One version of a plant. Objects made with the same id in two versions are the
// same object to the default compare condition ("Id").
struct Version {
  Ref<HostDocument> doc;
  Ref<host::HostRootActivity> root;
  explicit Version(bool hub = false) : doc(HostDocument::Create(hub)) { root = doc->CreateRootProcess("proc", "Process"); }
  Ref<HostActivity> Act(const std::string& id, const std::string& label, const Ref<HostActivity>& father = nullptr,
                        const std::string& type = "PhysicalActivity") {
    return doc->CreateActivity(father ? father : Ref<HostActivity>(root), type, id, label);
  }
  Ref<HostProduct> Prod(const std::string& id, const std::string& name, const Ref<HostProduct>& father = nullptr) {
    return doc->CreateProduct(father, id, name);
  }
  Ref<HostProduct> Res(const std::string& id, const std::string& name, const Ref<HostProduct>& father = nullptr) {
    return doc->CreateProduct(father, id, name, "", true);
  }
  Ref<host::HostFastener> Fastener(const std::string& id, std::initializer_list<Ref<TavBaseUnknown>> related,
                                   double x = 0) {
    auto* c = host::FastenersOf(*doc, true);
    auto f = c->CreateFastener(id, id);
    for (int i = 0; i < 6; ++i) f->SetCoordinate(i, i % 3 == 0 ? x : 0);
    for (auto& r : related) c->Relate(f, r);
    return f;
  }
};

// Records the warnings instead of showing them; the results dialog is the
// dialog tests' to show.
class Engine final : public OrvVekCompareDlgBase {
public:
  using OrvVekCompareDlgBase::ShowResults;
  bool showDialog = false;

protected:
  void ShowResults() override {
    if (showDialog) OrvVekCompareDlgBase::ShowResults();
  }
  void ShowWarning(int, const TavUnicodeString&, const TavUnicodeString&) override {}
};

// The comparison settings of this session, reset for each test.
inline TavRepository& Settings() { return TavSettingRepository::GetRepository(OrvIDSICompareToolSettingAtt::kRepository); }

class CompareTest : public ::testing::Test {
protected:
  void SetUp() override {
    session_ = std::make_unique<host::HostSession>();
    session_->SetHasMainWindow(false);
    for (auto& k : Settings().Keys()) Settings().Delete(k);
  }
  void TearDown() override { session_.reset(); }

  // Runs the engine as the compare tool does; returns CheckComparability's code.
  int Run(Engine& e, const Ref<TavBaseUnknown>& r1, const Ref<TavBaseUnknown>& r2, int kind, int filter,
          const Version& v1, const Version& v2, std::vector<int> attributes = {}, bool hub = false) {
    e.SetHxMode(hub);
    e.SetType(kind);
    if (kind == E::Activities || kind == E::ManufacturedAssemblies) {
      auto l1 = OrvEMfgAssemblyFactory::GetMAsInContainer(v1.doc), l2 = OrvEMfgAssemblyFactory::GetMAsInContainer(v2.doc);
      e.SetMALists({l1.begin(), l1.end()}, {l2.begin(), l2.end()});
    }
    e.Initialize(r1, r2, TavYorAdapterOf(v1.doc), TavYorAdapterOf(v2.doc), v1.doc, v2.doc);
    int rc = e.CheckComparability();
    e.StartComparison(attributes, filter);
    return rc;
  }

  std::unique_ptr<host::HostSession> session_;
};

inline std::vector<std::string> Ids(const CompareList& l) {
  std::vector<std::string> out;
  for (auto& o : l) {
    auto id = query<TavIModelIdentity>(o);
    out.push_back(id ? id->GetId().utf8() : "?");
  }
  return out;
}

}  // namespace cmptest
