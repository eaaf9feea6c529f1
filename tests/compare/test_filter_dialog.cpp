// The comparison filter: the mask it answers per kind and choice, the select-all
// button, the attribute lines, and a text for every key it looks up.
#include <gtest/gtest.h>

#include <functional>

#include "OrvVekCompareDlgBase.h"
#include "HostRuntime.h"
#include "OrvVekComparePPRFilterDlg.h"
#include "TavServices.h"

using Base = OrvVekCompareDlgBase;

namespace {

struct Filter {
  OrvVekComparePPRFilterDlg dlg{nullptr};
  template <class W>
  W* Get(const std::string& name) {
    return dynamic_cast<W*>(dlg.Find(name));
  }
  void Set(const std::string& name, const std::string& value) {
    std::string error;
    ASSERT_TRUE(dlg.Find(name)->SetValueFromText(value, &error)) << error;
  }
  std::pair<int, std::vector<int>> Mask() const {
    std::pair<int, std::vector<int>> out;
    dlg.SelectedItemsInFilter(out.first, out.second);
    return out;
  }
};

TEST(CompareFilter, NoAttributesByDefaultAndOneChoiceOfThree) {
  Filter f;
  f.dlg.SetAttributeList({"Cost", "Weight"}, {"Release"}, {"V_release"});
  EXPECT_EQ(f.Mask(), std::make_pair(int(Base::NoAttributes), std::vector<int>{}));
  EXPECT_FALSE(f.Get<TavDlgCombo>("AttribEditor")->IsSensitive());
  EXPECT_FALSE(f.dlg.DisplayAllAtts());
  EXPECT_FALSE(f.dlg.IsSummaryPageAvailable());
  // One attribute: its index in the combo; chosen without a line it compares none.
  f.Set("SingleRadio", "checked");
  EXPECT_TRUE(f.Get<TavDlgCombo>("AttribEditor")->IsSensitive());
  EXPECT_FALSE(f.Get<TavDlgRadioButton>("NoRadio")->GetState());
  EXPECT_EQ(f.Mask().first, Base::NoAttributes);
  f.Set("AttribEditor", "2");
  EXPECT_EQ(f.Mask(), std::make_pair(int(Base::SelectedAttributes), std::vector<int>{2}));
  f.Set("AllRadio", "checked");
  EXPECT_FALSE(f.Get<TavDlgRadioButton>("SingleRadio")->GetState());
  EXPECT_FALSE(f.Get<TavDlgCombo>("AttribEditor")->IsSensitive());
  EXPECT_EQ(f.Mask(), std::make_pair(int(Base::AllAttributes), std::vector<int>{}));
  f.Set("AllRadio", "unchecked");  // cleared by hand: none again
  EXPECT_TRUE(f.Get<TavDlgRadioButton>("NoRadio")->GetState());
  f.Set("DisplayAllAttRadio", "checked");
  EXPECT_TRUE(f.dlg.DisplayAllAtts());
  EXPECT_FALSE(f.Get<TavDlgRadioButton>("DisplayChangedAttRadio")->GetState());
  // Own names, then hub prompts with their names: own lines end in a suffix with "V"
  // third from last, hub lines never.
  auto* combo = f.Get<TavDlgCombo>("AttribEditor");
  ASSERT_EQ(combo->GetLineCount(), 3);
  EXPECT_EQ(combo->GetLine(0), "Cost (V) ");
  EXPECT_EQ(combo->GetLine(2), "Release [V_release] (E)");
  for (int i = 0; i < 3; ++i) {
    const std::string line = combo->GetLine(i).utf8();
    EXPECT_EQ(line[line.size() - 3] == 'V', i < 2) << line;
  }
}

TEST(CompareFilter, ItemsResourcesAndSequenceOnlyForProcesses) {
  const int processOnly = Base::AssignedItems | Base::AssignedResources | Base::Sequence;
  for (int kind : {Base::Activities, Base::Products, Base::Resources, Base::ManufacturedAssemblies, Base::Fasteners}) {
    Filter f;
    f.dlg.SetType(kind);
    const bool process = kind == Base::Activities;
    EXPECT_EQ(f.Get<TavDlgCheckButton>("SeqAct")->IsVisible(), process) << kind;
    f.dlg.Find("SelectAllButton")->Notify(TavDlgNotification::Activate);
    const int mask = f.Mask().first;
    EXPECT_EQ(mask & processOnly, process ? processOnly : 0) << kind;
    EXPECT_EQ(mask & (Base::Father | Base::Children), Base::Father | Base::Children) << kind;
    EXPECT_TRUE(f.dlg.IsSummaryPageAvailable());
    EXPECT_EQ(mask & (Base::SelectedAttributes | Base::AllAttributes), 0);  // the radio choice is not a check box
    f.dlg.Find("SelectAllButton")->Notify(TavDlgNotification::Activate);
    EXPECT_EQ(f.Mask().first, Base::NoAttributes) << kind;
  }
  // A process's boxes checked, then the kind changed: they are no longer offered or set.
  Filter f;
  f.dlg.OnCheckSelAll();
  f.dlg.SetType(Base::Products);
  EXPECT_EQ(f.Mask().first & processOnly, 0);
}

TEST(CompareFilter, EveryTextItLooksUpIsInItsCatalogue) {
  host::HostSession session;  // the catalogues
  Filter f;
  std::vector<std::string> keys{"MainTitleProcess", "MainTitleProduct", "MainTitleResource", "MainTitleMA",
                                "MainTitleFastener", "KwAndBrackets", "HxAndBrackets", "BracketsOpen", "BracketsClose"};
  std::function<void(const TavDlgWidget&)> titled = [&](const TavDlgWidget& w) {
    for (const auto& c : w.Children()) {
      keys.push_back(c->GetName() + ".Title");
      titled(*c);
    }
  };
  titled(f.dlg);
  EXPECT_EQ(keys.size(), 9u + 19u);
  for (const auto& key : keys) EXPECT_TRUE(TavMsgCatalog::HasKey(OrvVekComparePPRFilterDlg::kCatalog, key)) << key;
  for (int kind = 0; kind < 5; ++kind) {
    f.dlg.SetType(kind);
    EXPECT_TRUE(f.dlg.GetTitle().StartsWith("Compare ")) << kind;
  }
}

}  // namespace
