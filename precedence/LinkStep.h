#pragma once
// One step of the interactive linker and the undo history the steps form. The
// first record belongs to the command; the history frees every record after it.
#include "TavBase.h"

struct LinkStep {
  Ref<TavBaseUnknown> First;   // the link source
  Ref<TavBaseUnknown> Second;  // the link target
  int FirstNeedChoice = 0;     // the source has exactly one successor activity and is no split node
  int SecondNeedChoice = 0;    // the target has exactly one predecessor activity and is no join node
  int AddASwitch = 0;
  int AddAnOrIn = 0;
  LinkStep* Previous = nullptr;
  LinkStep* Next = nullptr;
};

// The doubly linked history of link steps, starting at a record it does not own.
class LinkHistory {
public:
  explicit LinkHistory(LinkStep& first) : first_(first), current_(&first) {}
  ~LinkHistory() { FreeAfter(first_); }
  LinkHistory(const LinkHistory&) = delete;
  LinkHistory& operator=(const LinkHistory&) = delete;

  LinkStep& Current() { return *current_; }
  // Drops the redo branch, appends a copy of the current record and makes it current.
  LinkStep& AddLCS();
  // Moves to the previous (next) record; false at the first (last).
  bool Undo();
  bool Redo();
  // Records from the first to the last, the current one included.
  int Size() const;

private:
  static void FreeAfter(LinkStep& record);
  LinkStep& first_;
  LinkStep* current_;
};
