#include "LinkStep.h"

LinkStep& LinkHistory::AddLCS() {
  FreeAfter(*current_);
  auto* record = new LinkStep(*current_);
  record->Previous = current_;
  record->Next = nullptr;
  current_->Next = record;
  current_ = record;
  return *record;
}

bool LinkHistory::Undo() {
  if (!current_->Previous) return false;
  current_ = current_->Previous;
  return true;
}

bool LinkHistory::Redo() {
  if (!current_->Next) return false;
  current_ = current_->Next;
  return true;
}

int LinkHistory::Size() const {
  int n = 0;
  for (const LinkStep* r = &first_; r; r = r->Next) ++n;
  return n;
}

void LinkHistory::FreeAfter(LinkStep& record) {
  // Iterative: a long chain session makes a long history.
  for (LinkStep* r = record.Next; r;) {
    LinkStep* next = r->Next;
    delete r;
    r = next;
  }
  record.Next = nullptr;
}
