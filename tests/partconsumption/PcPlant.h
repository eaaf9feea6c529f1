#pragma once
// A plant built in code, opened in a host session so that the engine finds the
// current editor, its document and all of its activities.
#include <memory>
#include <string>
#include <vector>

#include "HostRuntime.h"
#include "OrvEPartConsumptionAnalysis.h"
#include "PartConsumptionModule.h"

namespace pctest {

using host::HostActivity;
using host::HostAssembly;
using host::HostProduct;

inline const TavUnicodeString kProcesses = "Process Processes Product";
inline const TavUnicodeString kFirst = "Process First Processes Product";
inline const TavUnicodeString kCreates = "Process Creates Product";
inline const TavUnicodeString kRemoves = "Process Removes Product";

struct Plant {
  std::unique_ptr<host::HostSession> session = std::make_unique<host::HostSession>();
  Ref<host::HostDocument> doc = host::HostDocument::Create();
  Ref<host::HostRootActivity> root;

  Plant() {
    RegisterPartConsumptionModule();
    root = doc->CreateRootProcess("proc", "Process");
    session->OpenDocument(doc);
  }
  // Assemblies hold their parts strongly, so a containment cycle would outlive
  // the document: empty them.
  ~Plant() {
    for (auto& a : doc->Assemblies().assemblies_) {
      auto parts = a->Parts();
      for (auto& part : parts) a->RemovePart(part);
    }
  }
  Plant(const Plant&) = delete;
  Plant& operator=(const Plant&) = delete;
  Ref<HostActivity> Act(const std::string& label, const Ref<HostActivity>& father = nullptr,
                        const std::string& type = "PhysicalActivity") {
    return doc->CreateActivity(father ? father : Ref<HostActivity>(root), type, "", label);
  }
  Ref<HostProduct> Prod(const std::string& name, const Ref<HostProduct>& father = nullptr) {
    return doc->CreateProduct(father, "", name);
  }
  Ref<HostProduct> Res(const std::string& name, const Ref<HostProduct>& father = nullptr) {
    return doc->CreateProduct(father, "", name, "", true);
  }
  Ref<HostAssembly> Ma(const std::string& name) { return doc->CreateAssembly("", name); }
};

// The engine asked on the first product, as callers obtain it.
inline Ref<OrvEPartConsumptionAnalysis> EngineFor(const Ref<TavBaseUnknown>& first) {
  return std::dynamic_pointer_cast<OrvEPartConsumptionAnalysis>(query<OrvIPartConsumptionAnalysis>(first));
}

// One record as text: "part|activity path|relation|parent|effectivity|flags".
inline std::string Describe(const Ref<OrvPartConsumptionAnalysisResult>& r) {
  std::string s;
  for (auto& d : r->GetDisplayInfo()) s += d.utf8() + "|";
  s += r->HasChildren() ? "H" : "-";
  s += r->AllChildrenAssigned() ? "A" : "-";
  s += r->IsChild() ? "C" : "-";
  s += r->IsAssocActLoaded() ? "L" : "-";
  return s;
}

inline std::vector<std::string> Describe(const OrvPartConsumptionRecords& v) {
  std::vector<std::string> out;
  for (auto& r : v) out.push_back(Describe(r));
  return out;
}

inline std::vector<std::string> Names(const std::vector<Ref<TavBaseUnknown>>& v) {
  std::vector<std::string> out;
  for (auto& o : v) out.push_back(OrvPartConsumptionAnalysisResult::NameOf(o).utf8());
  return out;
}

struct Outcome {
  OrvPartConsumptionRecords records;
  std::vector<Ref<TavBaseUnknown>> unassigned;
};

inline Outcome Analyze(const std::vector<Ref<TavBaseUnknown>>& products, const std::vector<TavUnicodeString>& relations,
                   bool checkParent, bool checkChildren,
                   OrvEPartConsumptionAnalysis::Strategy strategy = OrvEPartConsumptionAnalysis::Strategy::Indexed) {
  auto engine = OrvEPartConsumptionAnalysis::Create(products.empty() ? nullptr : products.front());
  engine->SetStrategy(strategy);
  engine->SetInputs(products, relations);
  engine->AnalyzeConsumption(checkParent, checkChildren);
  return {engine->GetAnalysisResults(), engine->GetUnassignedParts()};
}

}  // namespace pctest
