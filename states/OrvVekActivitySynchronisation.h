#pragma once
// The synchronisations of one activity, start-start and end-end: the checks a new
// partner must pass and the writing of both partner lists on both activities of each
// pair. The synchronisation command and `mirt sync` share this.
#include <unordered_set>

#include "TavFlow.h"
#include "TavPPR.h"

// One kind's partners in the order listed, without duplicates; membership is a hash
// lookup, so a pick is checked without a scan.
class OrvVekPartnerList {
public:
  // Replaces the list (duplicates dropped).
  void Assign(const std::vector<Ref<TavBaseUnknown>>& activities);
  // Appends; false when listed already.
  bool Add(const Ref<TavBaseUnknown>& activity);
  // Takes the lines at these 0-based rows away; rows out of range are ignored.
  void RemoveRows(std::vector<int> rows);
  // Takes the activity away; false when it was not listed.
  bool Remove(const Ref<TavBaseUnknown>& activity);
  bool Contains(const Ref<TavBaseUnknown>& activity) const;
  const std::vector<Ref<TavBaseUnknown>>& Items() const { return items_; }

private:
  std::vector<Ref<TavBaseUnknown>> items_;
  std::unordered_set<const TavBaseUnknown*> members_;
};

class OrvVekActivitySynchronisation {
public:
  static constexpr const char* kCatalog = "OrvVekActivitySynchronisationCmd";
  // The two lists (the dialog's tabs): StartEndSelection values.
  static constexpr int kStartStart = 0, kEndEnd = 1;
  using Lists = OrvVekPartnerList[2];
  // Why a partner is refused, in the order the checks are made.
  enum class Refusal { None, Itself, ListedHere, ListedOnOther, NotPossible };

  explicit OrvVekActivitySynchronisation(Ref<TavBaseUnknown> first);
  const Ref<TavBaseUnknown>& First() const { return first_; }
  static int ConstraintType(int selection) {
    return selection == kEndEnd ? TavConstraintType::EndEnd : TavConstraintType::StartStart;
  }
  static int Other(int selection) { return selection == kEndEnd ? kStartStart : kEndEnd; }

  // The partners of one list's kind as the model holds them.
  std::vector<Ref<TavBaseUnknown>> Partners(int selection) const;
  // Both lists as the model holds them.
  void ReadPartners(Lists& lists) const;
  // The pick checks, in order: may `pick` join the list `shown`?
  Refusal FilterActivity(const Ref<TavBaseUnknown>& pick, int shown, const Lists& lists) const;
  // The tooltip text of a refusal (the other tab named for ListedOnOther).
  static TavUnicodeString RefusalText(Refusal refusal, int shown);

  // Start-start, then end-end when that worked. Per kind,
  // listed activities that are no partners yet are added, then partners no longer
  // listed removed; each pair on both activities or on neither. The first pair that
  // fails ends the writing; pairs written before it stay.
  bool CreateStartEndLinksInModel(const Lists& lists);
  // After a failed writing: the other activity of the failed pair, and the error text
  // naming both activities with the host's reason.
  const Ref<TavBaseUnknown>& FailedPartner() const { return failed_; }
  TavUnicodeString ErrorText() const;
  // The pairs the last writing made and removed: (list, partner).
  const std::vector<std::pair<int, Ref<TavBaseUnknown>>>& Added() const { return added_; }
  const std::vector<std::pair<int, Ref<TavBaseUnknown>>>& Removed() const { return removed_; }

private:
  bool CreateLinksInModel(int selection, const OrvVekPartnerList& list);
  bool CreateRemoveLinksInModel(int selection, const Ref<TavBaseUnknown>& other, bool add);

  Ref<TavBaseUnknown> first_;
  Ref<TavISPPProcessConstraintsMgt> mine_;
  Ref<TavBaseUnknown> failed_;
  TavUnicodeString reason_;
  std::vector<std::pair<int, Ref<TavBaseUnknown>>> added_, removed_;
};
