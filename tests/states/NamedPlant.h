#pragma once
// The named-state plant (a fixture with two clamps, a door, a WSC product, an
// assembly and a kit) open in a session with an engine, and helpers to drive the
// named state dialog and read what the host was told.
#include "EnginePlant.h"
#include "HostStates.h"
#include "OrvVekNamedStateDlg.h"

struct NamedPlant : EnginePlant {
  void SetUp() override { Open("states/data/named-plant.xml"); }
  Ref<OrvIState> StateOf(const std::string& id) const { return query<OrvIState>(Obj(id)); }
  // The states of an owner, "Name Name ..." in creation order.
  std::string StatesOf(const std::string& ownerId) const {
    std::string s;
    for (auto& st : OrvFactoryOnState(doc).GetStates(Obj(ownerId))) s += (s.empty() ? "" : " ") + st->GetName().utf8();
    return s;
  }
  std::string Definition(const Ref<OrvIState>& st) const {
    std::string s;
    for (auto& o : query<OrvIStateMgt>(st)->GetDefinition()) s += (s.empty() ? "" : " ") + Id(o);
    return s;
  }
  // The relation calls the host saw since `from`, "state>other:code" each.
  std::string Calls(std::size_t from = 0) const {
    std::string s;
    const auto& calls = host::StatesOf(*doc)->Calls();
    for (std::size_t i = from; i < calls.size(); ++i)
      s += (s.empty() ? "" : " ") + calls[i].state + ">" + calls[i].other + ":" + std::to_string(calls[i].code);
    return s;
  }
  std::size_t CallCount() const { return host::StatesOf(*doc)->Calls().size(); }
  double Z(const std::string& id) const { return query<TavIMovable>(Obj(id))->GetPosition()[11]; }

  // Dialog driving.
  static void Choose(TavDlgSelectorList* list, const std::string& line) {
    std::string why;
    ASSERT_TRUE(list->SetValueFromText(line, &why)) << why;
  }
  static void AddState(OrvVekNamedStateDlg* d, const std::string& line) {
    d->CandidateTabs()->SetValueFromText("pStatesTabPage", nullptr);
    Choose(d->StatesList(), line);
    d->AddButton()->Notify(TavDlgNotification::Activate);
  }
  static void AddPosition(OrvVekNamedStateDlg* d, const std::string& line) {
    d->CandidateTabs()->SetValueFromText("pPositionsTabPage", nullptr);
    Choose(d->PositionsList(), line);
    d->AddButton()->Notify(TavDlgNotification::Activate);
  }
  static void Remove(OrvVekNamedStateDlg* d, const std::string& line) {
    Choose(d->DefinitionList(), line);
    d->RemoveButton()->Notify(TavDlgNotification::Activate);
  }
  static std::string Lines(TavDlgSelectorList* list) {
    std::string s;
    for (int i = 0; i < list->GetLineCount(); ++i) s += (s.empty() ? "" : " ") + list->GetLine(i).utf8();
    return s;
  }
  // The error windows shown since `from`, each as the catalogue key (after
  // "OrvVekNamedStateDlg.") whose text it begins with.
  std::vector<std::string> Errors(std::size_t from = 0) const {
    std::vector<std::string> found;
    for (std::size_t i = from; i < engine.Messages().size(); ++i) {
      const auto& m = engine.Messages()[i];
      if (m.name != "OrvVekNamedStateErrorDlg") continue;
      found.push_back("?");
      for (const char* k : {"NoNameAvailable", "EmptyDefinitionList", "NameAlreadyExisting", "EntryRefused"}) {
        auto text = TavMsgCatalog::BuildMessage(OrvVekNamedStateDlg::kCatalog, std::string("OrvVekNamedStateDlg.") + k,
                                                {"/P1", "/P2"}).utf8();
        // Its first words, or those after a leading parameter.
        const std::string words = text.substr(text.rfind("/P1", 0) == 0 ? 3 : 0, 20);
        if (m.text.find(words) != std::string::npos) found.back() = k;
      }
    }
    return found;
  }
};
