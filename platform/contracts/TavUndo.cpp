#include "TavUndo.h"

namespace {
TavTransactionHost* g_transactions = nullptr;
}

TavTransactionHost* TavTransactionHost::Get() { return g_transactions; }
void TavTransactionHost::Install(TavTransactionHost* host) { g_transactions = host; }

TavSavepoint::TavSavepoint() {
  if (g_transactions) mark_ = g_transactions->Mark();
}

TavSavepoint::~TavSavepoint() = default;

bool TavSavepoint::RollBack(std::string* error) {
  if (!mark_) {
    if (error) *error = "no change record is open: nothing can be rolled back";
    return false;
  }
  return mark_->RollBack(error);
}
