// What the state conditions dialog lists: the objects that have states, their
// states, and the three condition lists, each sorted by name.
#include <algorithm>
#include <unordered_set>

#include "OrvVekActivitiesStateDlg.h"
#include "TavAssignment.h"
#include "TavServices.h"

namespace {

using States = OrvVekActivitiesStateDlg::States;
using Objects = OrvVekActivitiesStateDlg::Objects;

TavUnicodeString StateName(const Ref<OrvIState>& s) { return s ? s->GetName() : TavUnicodeString(); }

// Plain string order; equal names keep the order they came in. Each name is read
// once: a comparison reading both would query the objects 2 n log n times.
template <class T, class Name>
void SortByName(std::vector<Ref<T>>& v, Name name) {
  std::vector<std::pair<TavUnicodeString, Ref<T>>> keyed;
  keyed.reserve(v.size());
  for (auto& x : v) keyed.emplace_back(name(x), std::move(x));
  std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 0; i < v.size(); ++i) v[i] = std::move(keyed[i].second);
}

void AddTree(const Ref<TavIProduct>& root, Objects& out) {
  if (!root) return;
  out.push_back(root);
  for (auto& d : root->GetAllDescendants())
    if (d) out.push_back(d);
}

}  // namespace

TavUnicodeString OrvVekActivitiesStateDlg::NameOf(const Ref<TavBaseUnknown>& o) {
  if (auto p = query<TavIProduct>(o)) return p->GetName();
  if (auto ma = query<OrvIMfgAssembly>(o)) return ma->GetName();
  if (auto a = query<TavISPPAbstractActivity>(o)) return a->GetLabel();
  return {};
}

void OrvVekStateSelectorList::SelectRows(std::vector<int> rows) {
  std::erase_if(rows, [&](int r) { return r < 0 || r >= GetLineCount(); });
  if (!IsMultiSelect() && rows.size() > 1) rows.erase(rows.begin() + 1, rows.end());
  selected_ = std::move(rows);
}

Objects OrvVekActivitiesStateDlg::WithStates(Objects candidates) const {
  std::erase(candidates, nullptr);
  RemoveDuplicates(candidates);
  std::erase_if(candidates, [&](const Ref<TavBaseUnknown>& o) { return factory_.GetStates(o).empty(); });
  SortByName(candidates, NameOf);
  return candidates;
}

Objects OrvVekActivitiesStateDlg::AssignedItems() const {
  Objects out;
  if (!isActivity_) {
    // A behaviour's inputs and outputs; no behaviour yet, no items.
    auto manager = query<OrvIResourceBehaviorManager>(object_);
    auto items = query<OrvIResourceItemMgmt>(manager ? manager->GetBehavior() : nullptr);
    if (items) {
      out = items->GetInputItems();
      for (auto& o : items->GetOutputItems()) out.push_back(o);
    }
    return out;
  }
  if (auto im = query<TavISPPItemMgt>(object_)) out = im->GetItems("Item");
  if (auto flow = query<TavISPPFlowMgt>(object_)) {
    for (const auto& list : {flow->GetInputs(), flow->GetOutputs()})
      for (auto& io : list)
        if (auto pio = query<TavISPPProductIO>(io))
          if (auto product = pio->GetProduct()) out.push_back(product);
  }
  return out;
}

Objects OrvVekActivitiesStateDlg::AssignedResources() const {
  Objects out;
  if (!isActivity_) {
    // The resource itself and the resources below it: what its behaviour moves.
    AddTree(query<TavIProduct>(object_), out);
    return out;
  }
  if (auto rm = query<TavISPPResourceManagement>(object_)) out = rm->GetResources();
  return out;
}

Objects OrvVekActivitiesStateDlg::AllWithStates(const char* listInterface) const {
  Objects out;
  auto doc = TavDocumentOf(object_);
  auto list = doc ? query<TavIPPRRootList>(doc->GetRootContainer(listInterface)) : nullptr;
  if (list)
    for (auto& root : list->GetRoots()) AddTree(root, out);
  if (doc && std::string_view(listInterface) == TavIPPRProductList::kInterfaceName)
    for (auto& ma : OrvEMfgAssemblyFactory::GetMAsInContainer(doc))
      if (ma) out.push_back(ma);
  return out;
}

void OrvVekActivitiesStateDlg::FillLeftLists() {
  const bool all = ShownPage() == Context3D;
  objects_[Items] = WithStates(all ? AllWithStates(TavIPPRProductList::kInterfaceName) : AssignedItems());
  objects_[Resources] = WithStates(all ? AllWithStates(TavIPPRResourceList::kInterfaceName) : AssignedResources());
  ShowObjects(Items);
  ShowObjects(Resources);
}

void OrvVekActivitiesStateDlg::ShowObjects(Side side) {
  auto& page = left_[side];
  if (!page.objects) return;
  page.objects->ClearLine();
  for (auto& o : objects_[side]) page.objects->SetLine(NameOf(o));
  ShowStatesOfSelected(side);
}

void OrvVekActivitiesStateDlg::ShowStatesOfSelected(Side side) {
  auto& page = left_[side];
  page.shownStates.clear();
  if (!page.states) return;
  page.states->ClearLine();
  auto rows = page.objects ? page.objects->GetSelect() : std::vector<int>{};
  if (rows.empty() || rows.front() >= static_cast<int>(objects_[side].size())) return;
  page.shownStates = factory_.GetStates(objects_[side][static_cast<std::size_t>(rows.front())]);
  std::erase(page.shownStates, nullptr);
  SortByName(page.shownStates, StateName);
  for (auto& s : page.shownStates) page.states->SetLine(s->GetName());
}

void OrvVekActivitiesStateDlg::ReadExistingConditions() {
  for (auto& e : existing_) e.clear();
  if (isActivity_) {
    if (auto cond = query<TavISPP3DStateCondition>(object_)) {
      existing_[Begin] = cond->GetStateConditions(TavStateConditionKind::Begin);
      existing_[End] = cond->GetStateConditions(TavStateConditionKind::End);
    }
    if (auto context = query<TavISPPActivity3DContext>(object_)) existing_[Context3D] = context->Get3DContext();
  } else {
    // Read through the manager: opening the dialog must not make a behaviour.
    auto manager = query<OrvIResourceBehaviorManager>(object_);
    if (auto cond = query<OrvIResourceStatesCondition>(manager ? manager->GetBehavior() : nullptr)) {
      existing_[Begin] = cond->GetConditions(TavStateConditionKind::Begin);
      existing_[Context3D] = cond->GetConditions(TavStateConditionKind::Context3D);
      existing_[End] = cond->GetConditions(TavStateConditionKind::End);
    }
  }
  for (int p = Begin; p <= End; ++p) {
    std::erase(existing_[p], nullptr);
    lists_[p] = existing_[p];
    ShowRight(static_cast<Page>(p));
  }
}

TavUnicodeString OrvVekActivitiesStateDlg::RowText(Page page, std::size_t row) const {
  const auto& list = lists_[page];
  const auto& state = list[rows_[page][row]];
  const auto name = state->GetName();
  // Two owners' states of one name ("Open" of a fixture and of a gripper) would look
  // alike: such rows name their owner.
  for (std::size_t i = 0; i < list.size(); ++i)
    if (!SameObject(list[i], state) && list[i]->GetName() == name) return name + " (" + NameOf(state->GetOwner()) + ")";
  return name;
}

void OrvVekActivitiesStateDlg::ShowRight(Page page) {
  // The list keeps the model's order, so that an unchanged OK writes the same
  // lists; the rows show it sorted by name.
  auto& rows = rows_[page];
  rows.resize(lists_[page].size());
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = i;
  std::stable_sort(rows.begin(), rows.end(),
                   [&](std::size_t a, std::size_t b) { return lists_[page][a]->GetName() < lists_[page][b]->GetName(); });
  auto* list = right_[page];
  if (!list) return;
  list->ClearLine();
  for (std::size_t r = 0; r < rows.size(); ++r) list->SetLine(RowText(page, r));
}

Ref<OrvIState> OrvVekActivitiesStateDlg::StateAtRow(Page page, int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= rows_[page].size()) return nullptr;
  return lists_[page][rows_[page][static_cast<std::size_t>(row)]];
}

bool OrvVekActivitiesStateDlg::HasCondition(const States& list, const Ref<OrvIState>& state) {
  auto id = query<TavIModelIdentity>(state ? state->GetOwner() : nullptr);
  if (!id) return false;
  const int owner = id->GetModelNumber();
  return std::any_of(list.begin(), list.end(), [&](const Ref<OrvIState>& s) {
    auto other = query<TavIModelIdentity>(s ? s->GetOwner() : nullptr);
    return other && other->GetModelNumber() == owner;
  });
}

bool OrvVekActivitiesStateDlg::CanAdd(Page page, const Ref<OrvIState>& state) const {
  if (!state) return false;
  auto in = [&](Page p) {
    return std::any_of(lists_[p].begin(), lists_[p].end(), [&](const Ref<OrvIState>& s) { return SameObject(s, state); });
  };
  switch (page) {
    case Begin: return !in(Begin) && !in(Context3D) && !HasCondition(lists_[Begin], state);
    case Context3D: return !in(Begin) && !in(Context3D) && !in(End);
    case End: return !in(End) && !in(Context3D) && !HasCondition(lists_[End], state);
  }
  return false;
}

void OrvVekActivitiesStateDlg::WhenAddButtonPushed() {
  if (!rightTabs_ || !leftTabs_) return;
  const Page page = ShownPage();
  bool added = false;
  // Rows map to the states of the selected object: never a look-up by name.
  for (auto& state : SelectedLeftStates())
    if (CanAdd(page, state)) {
      lists_[page].push_back(state);
      added = true;
    }
  if (!added) return;
  ShowRight(page);
  UpdateButtons();
}

void OrvVekActivitiesStateDlg::WhenRemoveButtonPushed() {
  if (!rightTabs_) return;
  const Page page = ShownPage();
  auto* list = right_[page];
  if (!list) return;
  auto rows = list->GetSelect();
  if (rows.empty()) return;
  // By row: two states of one name belonging to different owners stay apart.
  States gone;
  for (int r : rows)
    if (auto s = StateAtRow(page, r)) gone.push_back(s);
  std::erase_if(lists_[page], [&](const Ref<OrvIState>& s) {
    return std::any_of(gone.begin(), gone.end(), [&](const Ref<OrvIState>& g) { return SameObject(g, s); });
  });
  ShowRight(page);
  UpdateButtons();
}
