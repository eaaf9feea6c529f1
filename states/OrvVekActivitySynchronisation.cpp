#include "OrvVekActivitySynchronisation.h"

#include <algorithm>

#include "TavServices.h"
#include "TavUndo.h"

namespace {
const TavBaseUnknown* Key(const Ref<TavBaseUnknown>& o) { return o ? o->ExtendedObject().get() : nullptr; }

TavUnicodeString Msg(const char* key, const char* fallback) {
  return TavMsgCatalog::BuildMessage(OrvVekActivitySynchronisation::kCatalog, key, {}, fallback);
}
TavUnicodeString Name(const Ref<TavBaseUnknown>& o, const char* missing) {
  auto a = query<TavISPPAbstractActivity>(o);
  TavUnicodeString label = a ? a->GetLabel() : TavUnicodeString();
  return label.IsEmpty() ? TavUnicodeString(missing) : label;
}
bool Holds(const Ref<TavISPPProcessConstraintsMgt>& c, const Ref<TavBaseUnknown>& other, int type) {
  for (auto& p : c->GetConstraints(type))
    if (SameObject(p, other)) return true;
  return false;
}
}  // namespace

void OrvVekPartnerList::Assign(const std::vector<Ref<TavBaseUnknown>>& activities) {
  items_.clear();
  members_.clear();
  for (auto& a : activities) Add(a);
}

bool OrvVekPartnerList::Add(const Ref<TavBaseUnknown>& activity) {
  if (!activity || !members_.insert(Key(activity)).second) return false;
  items_.push_back(activity);
  return true;
}

void OrvVekPartnerList::RemoveRows(std::vector<int> rows) {
  // From the last row up, each once, so earlier rows keep their places.
  std::sort(rows.rbegin(), rows.rend());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  for (int r : rows)
    if (r >= 0 && r < static_cast<int>(items_.size())) {
      members_.erase(Key(items_[r]));
      items_.erase(items_.begin() + r);
    }
}

bool OrvVekPartnerList::Remove(const Ref<TavBaseUnknown>& activity) {
  if (!activity || !members_.erase(Key(activity))) return false;
  items_.erase(std::find_if(items_.begin(), items_.end(), [&](const auto& a) { return Key(a) == Key(activity); }));
  return true;
}

bool OrvVekPartnerList::Contains(const Ref<TavBaseUnknown>& activity) const {
  return activity && members_.count(Key(activity)) != 0;
}

OrvVekActivitySynchronisation::OrvVekActivitySynchronisation(Ref<TavBaseUnknown> first)
    : first_(std::move(first)), mine_(query<TavISPPProcessConstraintsMgt>(first_)) {}

std::vector<Ref<TavBaseUnknown>> OrvVekActivitySynchronisation::Partners(int selection) const {
  return mine_ ? mine_->GetConstraints(ConstraintType(selection)) : std::vector<Ref<TavBaseUnknown>>{};
}

void OrvVekActivitySynchronisation::ReadPartners(Lists& lists) const {
  for (int selection : {kStartStart, kEndEnd}) lists[selection].Assign(Partners(selection));
}

OrvVekActivitySynchronisation::Refusal OrvVekActivitySynchronisation::FilterActivity(const Ref<TavBaseUnknown>& pick, int shown,
                                                                             const Lists& lists) const {
  shown = shown == kEndEnd ? kEndEnd : kStartStart;  // any other value is the first tab, as in the dialog
  if (SameObject(pick, first_)) return Refusal::Itself;
  if (lists[shown].Contains(pick)) return Refusal::ListedHere;
  if (lists[Other(shown)].Contains(pick)) return Refusal::ListedOnOther;
  auto theirs = query<TavISPPProcessConstraintsMgt>(pick);
  const int type = ConstraintType(shown);
  if (!mine_ || !theirs || !mine_->IsConstraintPossible(pick, type) || !theirs->IsConstraintPossible(first_, type))
    return Refusal::NotPossible;
  for (int selection : {kStartStart, kEndEnd})
    for (auto& listed : lists[selection].Items()) {
      auto l = query<TavISPPProcessConstraintsMgt>(listed);
      if (theirs->HasIndirectConstraints(listed) || (l && l->HasIndirectConstraints(pick))) return Refusal::NotPossible;
    }
  return Refusal::None;
}

TavUnicodeString OrvVekActivitySynchronisation::RefusalText(Refusal refusal, int shown) {
  switch (refusal) {
    case Refusal::None: return {};
    case Refusal::Itself: return Msg("ToolTip.Text3", "An activity is not synchronised with itself.");
    case Refusal::ListedHere: return Msg("ToolTip.Text1", "This activity is in the list already.");
    case Refusal::ListedOnOther: {
      TavUnicodeString text = Msg("ToolTip.Text2", "This activity is already in the list of the other tab:");
      text += TavUnicodeString(" ");
      text += Other(shown) == kStartStart ? Msg("ToolTip.Text21", "Start-Start.") : Msg("ToolTip.Text22", "End-End.");
      return text;
    }
    case Refusal::NotPossible:
      return Msg("ToolTip.Text4", "These activities cannot be synchronised: they are constrained already.");
  }
  return {};
}

bool OrvVekActivitySynchronisation::CreateStartEndLinksInModel(const Lists& lists) {
  failed_.reset();
  reason_ = TavUnicodeString();
  added_.clear();
  removed_.clear();
  return CreateLinksInModel(kStartStart, lists[kStartStart]) && CreateLinksInModel(kEndEnd, lists[kEndEnd]);
}

bool OrvVekActivitySynchronisation::CreateLinksInModel(int selection, const OrvVekPartnerList& list) {
  if (!mine_) return false;
  OrvVekPartnerList current;
  current.Assign(Partners(selection));
  for (auto& a : list.Items())
    if (!current.Contains(a) && !CreateRemoveLinksInModel(selection, a, true)) return false;
  for (auto& c : current.Items())
    if (!list.Contains(c) && !CreateRemoveLinksInModel(selection, c, false)) return false;
  return true;
}

bool OrvVekActivitySynchronisation::CreateRemoveLinksInModel(int selection, const Ref<TavBaseUnknown>& other, bool add) {
  const int type = ConstraintType(selection);
  auto theirs = query<TavISPPProcessConstraintsMgt>(other);
  // Both sides or neither: a side written alone would leave the pair half made.
  TavSavepoint pair;
  bool ok = mine_ && theirs;
  if (ok && add) ok = SUCCEEDED(mine_->AddConstraint(other, type)) && SUCCEEDED(theirs->AddConstraint(first_, type));
  if (ok && !add) {
    ok = SUCCEEDED(mine_->RemoveConstraint(other, type));
    // The partner's side, when it holds one (a pair made elsewhere may lack it).
    if (ok && Holds(theirs, first_, type)) ok = SUCCEEDED(theirs->RemoveConstraint(first_, type));
  }
  if (ok) {
    (add ? added_ : removed_).emplace_back(selection, other);
    return true;
  }
  pair.RollBack();
  failed_ = other;
  if (auto e = TavError::TavGetLastError(E_FAIL)) reason_ = e->GetNLSMessage();
  TavError::TavCleanLastError();
  return false;
}

TavUnicodeString OrvVekActivitySynchronisation::ErrorText() const {
  TavUnicodeString text;
  auto part = [&](const TavUnicodeString& t) {
    if (t.IsEmpty()) return;
    if (!text.IsEmpty()) text += TavUnicodeString(" ");
    text += t;
  };
  part(Msg("ErrorWnd.Text1", "The synchronisation of"));
  part(Name(first_, "First Activity"));
  part(Msg("ErrorWnd.Text2", "with"));
  part(Name(failed_, "Second Activity"));
  part(Msg("ErrorWnd.Text3", "could not be written; that pair was left as it was."));
  part(reason_);
  return text;
}
