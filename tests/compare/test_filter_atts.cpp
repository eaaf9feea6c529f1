// The report attribute selection: the stored choice on the right, the rest of the
// offer on the left, the list buttons, sorting, the own/hub filters, and OK keeping
// the choice with each line's own name and kind.
#include <gtest/gtest.h>

#include <functional>

#include "ConfigFolder.h"
#include "HostRuntime.h"
#include "OrvVekCompareFilterAttsDlg.h"
#include "OrvVekCompareUtilities.h"
#include "TavCompare.h"
#include "TavServices.h"

using Dlg = OrvVekCompareFilterAttsDlg;
using A = Dlg::Attribute;

namespace {

std::vector<std::string> Names(const std::vector<A>& list) {
  std::vector<std::string> out;
  for (const auto& a : list) out.push_back((a.hub ? "E:" : "V:") + a.name.utf8());
  return out;
}

struct Selection : testing::Test {
  ConfigFolder config{"mirt-filteratts"};
  host::HostSession session;
  int oks = 0;
  // Own "Cost" and "Weight"; hub attributes whose prompts hold the bracket texts.
  const std::vector<A> offer{{"Cost", "Cost", false},
                             {"Weight", "Weight", false},
                             {"V_weight", "Weight (kg)", true},
                             {"V_rel", "Release [x] (E)", true}};
  std::unique_ptr<Dlg> Open(const char* feature = "Body") {
    auto d = std::make_unique<Dlg>(nullptr, feature, offer, [this] { ++oks; });
    d->Build();
    return d;
  }
  static TavUnicodeString Stored() {
    return TavSettingRepository::GetRepository(OrvIDSICompareToolSettingAtt::kRepository)
        .ReadString(OrvIDSICompareToolSettingAtt::kReportAttributesKey, {});
  }
  static void Select(Dlg& d, const char* list, std::vector<int> rows) {
    static_cast<TavDlgMultiList*>(d.Find(list))->SetSelectedRows(std::move(rows));
  }
};

TEST_F(Selection, StoredChoiceOnTheRightAndOkKeepsEachLinesNameAndKind) {
  std::string problem;
  ASSERT_TRUE(OrvVekCompareUtilities::SaveCheckList("Body", {"V_rel", "Gone"}, {"E", "V"}, problem)) << problem;
  auto d = Open();
  // A stored attribute the roots lack stays chosen; the offer's prompt is shown.
  EXPECT_EQ(Names(d->Chosen()), (std::vector<std::string>{"E:V_rel", "V:Gone"}));
  EXPECT_EQ(d->Chosen()[0].prompt, "Release [x] (E)");
  EXPECT_EQ(Names(d->Shown()), (std::vector<std::string>{"V:Cost", "V:Weight", "E:V_weight"}));
  auto* right = static_cast<TavDlgMultiList*>(d->Find("SelectedAttributesList"));
  EXPECT_EQ(right->GetColumnItem(0, 0), "Release [x] (E) [V_rel] (E)");
  EXPECT_EQ(right->GetColumnItem(0, 1), "Gone (V) ");

  Select(*d, "AllAttributesList", {2, 0});
  d->PushAdd();
  EXPECT_EQ(Names(d->Chosen()), (std::vector<std::string>{"E:V_rel", "V:Gone", "V:Cost", "E:V_weight"}));
  EXPECT_EQ(right->GetSelect(), (std::vector<int>{2, 3}));
  Select(*d, "SelectedAttributesList", {3});
  d->MoveToEnd(true);
  EXPECT_EQ(Names(d->Chosen()), (std::vector<std::string>{"E:V_weight", "E:V_rel", "V:Gone", "V:Cost"}));
  Select(*d, "SelectedAttributesList", {2});
  d->PushRemove();  // "Gone" is not offered: it leaves both lists
  EXPECT_EQ(Names(d->Shown()), (std::vector<std::string>{"V:Weight"}));
  // The bracketed prompts save their own names, not the text between brackets.
  d->Notify(TavDlgNotification::OK);
  EXPECT_EQ(oks, 1);
  EXPECT_EQ(Stored(), "$$Body$V_weight|E|V_rel|E|Cost|V|");
}

TEST_F(Selection, OrderSortAndFilterButtons) {
  auto d = Open("Frame");
  EXPECT_TRUE(d->Chosen().empty());
  Select(*d, "AllAttributesList", {0, 1, 2, 3});
  d->PushAdd();
  auto order = [&] { return Names(d->Chosen()); };
  Select(*d, "SelectedAttributesList", {0});
  d->Move(-1);  // at the top already
  d->Move(1);
  EXPECT_EQ(order(), (std::vector<std::string>{"V:Weight", "V:Cost", "E:V_weight", "E:V_rel"}));
  d->MoveToEnd(false);
  EXPECT_EQ(order().back(), "V:Cost");
  Select(*d, "SelectedAttributesList", {0, 1});
  d->Move(1);  // several lines: no move
  EXPECT_EQ(order().front(), "V:Weight");
  // Everything back, then sorted and filtered on the left.
  Select(*d, "SelectedAttributesList", {0, 1, 2, 3});
  d->PushRemove();
  d->SortLeft(Dlg::Sort::ABCPrompts);
  EXPECT_EQ(Names(d->Shown()), (std::vector<std::string>{"V:Cost", "E:V_rel", "V:Weight", "E:V_weight"}));
  d->SortLeft(Dlg::Sort::ABCNames);
  EXPECT_EQ(Names(d->Shown()), (std::vector<std::string>{"V:Cost", "E:V_rel", "E:V_weight", "V:Weight"}));
  d->SortLeft(Dlg::Sort::KwHxNames);
  EXPECT_EQ(Names(d->Shown()), (std::vector<std::string>{"V:Cost", "V:Weight", "E:V_rel", "E:V_weight"}));
  std::string error;
  ASSERT_TRUE(d->Find("CBKw")->SetValueFromText("unchecked", &error));
  EXPECT_EQ(Names(d->Shown()), (std::vector<std::string>{"E:V_rel", "E:V_weight"}));
  // A row of the list as shown is the attribute added.
  Select(*d, "AllAttributesList", {1});
  d->PushAdd();
  EXPECT_EQ(Names(d->Chosen()), (std::vector<std::string>{"E:V_weight"}));
}

TEST_F(Selection, AChoiceThatCannotBeKeptLeavesTheSettingsAndTheDialog) {
  const std::vector<A> odd{{"a|b", "a|b", false}};
  Dlg d(nullptr, "Body", odd, [this] { ++oks; });
  d.Build();
  Select(d, "AllAttributesList", {0});
  d.PushAdd();
  d.Notify(TavDlgNotification::OK);
  EXPECT_EQ(oks, 0);
  EXPECT_EQ(Stored(), "");
  EXPECT_EQ(d.Chosen().size(), 1u);
}

TEST_F(Selection, EveryTextItLooksUpIsInItsCatalogue) {
  auto d = Open();
  std::vector<std::string> keys{"OrvVekCompareFilterAttsDlg.Title", "AllAttributesList.ColumnTitle",
                                "SelectedAttributesList.ColumnTitle", "Error.Title", "SaveFailed"};
  std::function<void(const TavDlgWidget&)> titled = [&](const TavDlgWidget& w) {
    for (const auto& c : w.Children()) {
      if (c->GetKind() != "multilist") keys.push_back(c->GetName() + ".Title");
      titled(*c);
    }
  };
  titled(*d);
  EXPECT_EQ(keys.size(), 5u + 19u);
  for (const auto& key : keys) EXPECT_TRUE(TavMsgCatalog::HasKey(Dlg::kCatalog, key)) << key;
}

}  // namespace
