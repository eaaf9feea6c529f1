#include "TavFlow.h"

namespace {
Ref<TavError> g_lastError;
TavLinkServicesHost* g_linkHost = nullptr;
}  // namespace

Ref<TavError> TavError::TavGetLastError(HRESULT) { return g_lastError; }
void TavError::TavCleanLastError() { g_lastError.reset(); }
void TavError::TavSetLastError(Ref<TavError> e) { g_lastError = std::move(e); }

TavLinkServicesHost* TavLinkServicesHost::Get() { return g_linkHost; }
void TavLinkServicesHost::Install(TavLinkServicesHost* h) { g_linkHost = h; }

// Without a host nothing may be linked: every answer is the refusing one.
int TavSPPLinkServices::CanLinkFrom(const Ref<TavBaseUnknown>& node) { return g_linkHost ? g_linkHost->CanLinkFrom(node) : 1; }
int TavSPPLinkServices::CanLinkTo(const Ref<TavBaseUnknown>& node) { return g_linkHost ? g_linkHost->CanLinkTo(node) : 1; }
int TavSPPLinkServices::AreAllreadyLinked(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b) {
  return g_linkHost ? g_linkHost->AreAllreadyLinked(a, b) : 1;
}
int TavSPPLinkServices::LinkViolatesHierachy(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b) {
  return g_linkHost ? g_linkHost->LinkViolatesHierachy(a, b) : 0;
}
HRESULT TavSPPLinkServices::IsLinkOkForPrecedence(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b) {
  return g_linkHost ? g_linkHost->IsLinkOkForPrecedence(a, b) : E_NOTIMPL;
}
HRESULT TavSPPLinkServices::Link(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b) {
  return g_linkHost ? g_linkHost->Link(a, b) : E_NOTIMPL;
}
HRESULT TavSPPLinkServices::InsertSwitchAfter(const Ref<TavBaseUnknown>& node, Ref<TavBaseUnknown>& newNode) {
  newNode = nullptr;
  return g_linkHost ? g_linkHost->InsertSwitchAfter(node, newNode) : E_NOTIMPL;
}
HRESULT TavSPPLinkServices::InsertOrInBefore(const Ref<TavBaseUnknown>& node, Ref<TavBaseUnknown>& newNode) {
  newNode = nullptr;
  return g_linkHost ? g_linkHost->InsertOrInBefore(node, newNode) : E_NOTIMPL;
}
HRESULT TavSPPLinkServices::IsMultiLevelPrecedenceCheckActivated() {
  return g_linkHost ? g_linkHost->IsMultiLevelPrecedenceCheckActivated() : E_NOTIMPL;
}
HRESULT TavSPPLinkServices::ActiveMultiLevelPrecedenceCheck() {
  return g_linkHost ? g_linkHost->ActiveMultiLevelPrecedenceCheck() : E_NOTIMPL;
}
HRESULT TavSPPLinkServices::ReconnectProdOutputToDeliver(const Ref<TavBaseUnknown>& activity, const Ref<TavBaseUnknown>& output) {
  return g_linkHost ? g_linkHost->ReconnectProdOutputToDeliver(activity, output) : E_NOTIMPL;
}

void TavDeclareFlowInterfaces() {
  TavInterfaceNames::Declare<TavISPPProcessConstraintsMgt>();
  TavInterfaceNames::Declare<OrvIVekVisuConsToPrevCycle>();
  TavInterfaceNames::Declare<TavIModificationAuthority>();
  TavInterfaceNames::Declare<TavISPPLogActivity>();
}
