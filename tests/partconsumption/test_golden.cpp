// Reports of the bundled sample plant against their golden files. Set
// PC_UPDATE_GOLDEN=1 to rewrite the golden files after a deliberate change.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "OrvVekGenPartConsumptionXML.h"
#include "OrvVekPartConsumptionRecords.h"
#include "PcPlant.h"
#include "PlantDocument.h"
#include "ReadAll.h"

using namespace pctest;
namespace fs = std::filesystem;

namespace {

struct Case {
  const char* golden;
  enum { AllProducts, RootProducts, FirstLevel, AssembliesAndLeaves } inputs;
  std::vector<TavUnicodeString> relations;
  bool checkParent, checkChildren, childLayout;
  int mode;
};

class Golden : public ::testing::TestWithParam<Case> {};

TEST_P(Golden, SamplePlantReport) {
  const Case& c = GetParam();
  host::HostSession session;
  std::string error;
  auto doc = host::LoadPlant(std::string(MIRT_DATA_DIR) + "/sample-plant.xml", error);
  ASSERT_TRUE(doc) << error;
  session.OpenDocument(doc);
  RegisterPartConsumptionModule();

  std::vector<Ref<TavBaseUnknown>> inputs;
  for (auto& root : doc->Products().roots_) {
    if (c.inputs == Case::FirstLevel) {
      inputs.insert(inputs.end(), root->Children().begin(), root->Children().end());
      continue;
    }
    if (c.inputs != Case::AssembliesAndLeaves) inputs.push_back(root);
    if (c.inputs == Case::RootProducts) continue;
    for (auto& d : root->GetAllDescendants())
      if (c.inputs == Case::AllProducts || d->GetChildrenCount() == 0) inputs.push_back(d);
  }
  if (c.inputs == Case::AssembliesAndLeaves)
    for (auto& a : doc->Assemblies().assemblies_) inputs.push_back(a);
  ASSERT_FALSE(inputs.empty());

  auto engine = query<OrvIPartConsumptionAnalysis>(inputs.front());
  ASSERT_TRUE(engine);
  engine->SetInputs(&inputs, &c.relations);
  engine->AnalyzeConsumption(c.checkParent, c.checkChildren);
  OrvPartConsumptionRecords results;
  const auto found = engine->GetAnalysisResults();
  OrvVekPartConsumptionRecords::AddToAnalysisResults(&results, &found);
  auto unassigned = engine->GetUnassignedParts();
  OrvVekPartConsumptionRecords::CleanUnassignedList(results, unassigned);

  fs::path out = fs::temp_directory_path() / (std::string("pc-golden-") + std::to_string(::getpid()) + ".xml");
  OrvVekXMLExportStatus st;
  ASSERT_EQ(OrvVekGenPartConsumptionXML::CreateXMLFile(out.string(), results, unassigned, c.mode, nullptr, c.childLayout, &st),
            S_OK)
      << st.message;
  const std::string bytes = ReadAll(out);
  fs::remove(out);
  const fs::path golden = fs::path(PC_GOLDEN_DIR) / c.golden;
  if (const char* u = std::getenv("PC_UPDATE_GOLDEN"); u && std::string(u) == "1") {
    std::ofstream(golden, std::ios::binary) << bytes;
    GTEST_SKIP() << "rewrote " << golden;
  }
  ASSERT_TRUE(fs::exists(golden)) << golden;
  EXPECT_EQ(bytes, ReadAll(golden)) << "differs from " << golden;
}

const std::vector<TavUnicodeString> kDefault{kProcesses, kFirst, kCreates};
const std::vector<TavUnicodeString> kAll{kProcesses, kFirst, kCreates, kRemoves, "Process Implements Requirement"};

INSTANTIATE_TEST_SUITE_P(
    Sample, Golden,
    ::testing::Values(Case{"sample-default.xml", Case::AllProducts, kDefault, false, false, false, 0},
                      Case{"sample-checks.xml", Case::RootProducts, kDefault, true, true, true, 1},
                      Case{"sample-children-only.xml", Case::RootProducts, kDefault, false, true, false, 2},
                      Case{"sample-summaries.xml", Case::FirstLevel, kDefault, false, true, true, 3},
                      Case{"sample-assemblies.xml", Case::AssembliesAndLeaves, kAll, true, false, false, 4}),
    [](const auto& info) {
      std::string n = info.param.golden;
      n = n.substr(7, n.size() - 11);
      std::erase(n, '-');
      return n;
    });

}  // namespace
