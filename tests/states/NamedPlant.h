#pragma once
// The named-state plant (a fixture with two clamps, a door, a WSC product, an
// assembly and a kit) open in a session with an engine, and helpers to drive the
// named state dialog and read what the host was told.
#include <gtest/gtest.h>

#include <sstream>

#include "HostEngine.h"
#include "HostStates.h"
#include "OrvVekNamedStateDlg.h"
#include "PlantDocument.h"

struct NamedPlant : ::testing::Test {
  std::ostringstream out;
  host::HostSession session;
  host::HostEngine engine{&out};
  Ref<host::HostDocument> doc;
  std::string err;

  void SetUp() override {
    doc = host::LoadPlant(std::string(MIRT_TEST_DATA) + "/states/data/named-plant.xml", err);
    ASSERT_TRUE(doc) << err;
    session.OpenDocument(doc);
  }
  Ref<TavBaseUnknown> Obj(const std::string& id) const { return doc->FindById(id); }
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
  static std::string Id(const Ref<TavBaseUnknown>& o) {
    auto id = query<TavIModelIdentity>(o);
    return id ? id->GetId().utf8() : "?";
  }
  bool Pick(const std::string& id) { return engine.Pick(doc->PathOf(Obj(id)), &err); }
  std::string Running() {
    auto* c = engine.RunningCommand();
    return c && c->GetCurrentState() ? c->GetCurrentState()->GetName() : "ended";
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
  // The longest piece of a catalogue text between its parameters: what identifies it.
  static std::string LongestPiece(const std::string& key) {
    const std::string text = TavMsgCatalog::BuildMessage(OrvVekNamedStateDlg::kCatalog, key, {}, "").utf8();
    std::string best, piece;
    for (std::size_t i = 0; i <= text.size(); ++i) {
      if (i == text.size() || (text[i] == '/' && i + 1 < text.size() && text[i + 1] == 'P')) {
        if (piece.size() > best.size()) best = piece;
        piece.clear();
        i += 2;
        continue;
      }
      piece += text[i];
    }
    return best.empty() ? key : best;
  }
  // The texts of the error windows shown since `from`, as catalogue keys.
  std::vector<std::string> Errors(std::size_t from = 0) const {
    static const char* keys[] = {"NoFactoryAvailable", "NoNameAvailable", "EmptyDefinitionList", "NameAlreadyExisting",
                                 "StateNotCreated", "EntryRefused", "ApplyRefused", "RenameRefused"};
    std::vector<std::string> found;
    const auto& shown = engine.Messages();
    for (std::size_t i = from; i < shown.size(); ++i) {
      if (shown[i].name != "OrvVekNamedStateErrorDlg") continue;
      std::string which = "?";
      for (const char* k : keys)
        if (shown[i].text.find(LongestPiece(std::string("OrvVekNamedStateDlg.") + k)) != std::string::npos) which = k;
      found.push_back(which);
    }
    return found;
  }
};
