#pragma once
// The host's control-flow services: linking rules and link making, the last error
// of a failed host operation, process constraints, and the hub's locks and logs
// that a partially read-only process needs.
#include "TavPPR.h"

// The reason of the last failed host operation. A host operation that fails sets
// it; the caller reads it (TavGetLastError) and clears it (TavCleanLastError).
class TavError {
public:
  TavError(HRESULT code, TavUnicodeString heading, TavUnicodeString message, TavUnicodeString request)
      : code_(code), heading_(std::move(heading)), message_(std::move(message)), request_(std::move(request)) {}
  HRESULT GetCode() const { return code_; }
  const TavUnicodeString& GetNLSHeading() const { return heading_; }  // window title
  const TavUnicodeString& GetNLSMessage() const { return message_; }  // what went wrong
  const TavUnicodeString& GetNLSRequest() const { return request_; }  // what to do about it

  // The error kept for a failure code; null when none is kept.
  static Ref<TavError> TavGetLastError(HRESULT code);
  static void TavCleanLastError();
  // The host: keeps `e` as the last error (replacing any kept before).
  static void TavSetLastError(Ref<TavError> e);

private:
  HRESULT code_;
  TavUnicodeString heading_, message_, request_;
};

// Linking rules and link making. Results follow the host's conventions, which
// differ per operation: see each.
class TavSPPLinkServices {
public:
  // 0: the node may be the source (target) of a new link; 1: not.
  static int CanLinkFrom(const Ref<TavBaseUnknown>& node);
  static int CanLinkTo(const Ref<TavBaseUnknown>& node);
  // 0: a link from a to b exists; 1: none.
  static int AreAllreadyLinked(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b);
  // Exactly 1: the link respects the activity hierarchy (its ends are siblings); 0: it breaks it.
  static int LinkViolatesHierachy(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b);
  // 0: the link agrees with the precedence constraints; negative: it contradicts one,
  // and the last error says which.
  static HRESULT IsLinkOkForPrecedence(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b);
  // Makes the link; 0 on success, negative with the last error set.
  static HRESULT Link(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b);
  // Inserts a "Switch" after (an "OrIn" before) the node, moving the node's outgoing
  // (incoming) links onto the new node; the new node comes back in `newNode`.
  static HRESULT InsertSwitchAfter(const Ref<TavBaseUnknown>& node, Ref<TavBaseUnknown>& newNode);
  static HRESULT InsertOrInBefore(const Ref<TavBaseUnknown>& node, Ref<TavBaseUnknown>& newNode);
  // Negative: the multi-level check (precedences between ancestors count too) is off.
  static HRESULT IsMultiLevelPrecedenceCheckActivated();
  static HRESULT ActiveMultiLevelPrecedenceCheck();
  // After a flow output of the activity was made to carry another product: the
  // activities the flow delivers it to receive that product. S_OK; E_FAIL when the
  // output is not one of the activity's.
  static HRESULT ReconnectProdOutputToDeliver(const Ref<TavBaseUnknown>& activity, const Ref<TavBaseUnknown>& output);
};

// What the host installs behind TavSPPLinkServices.
class TavLinkServicesHost {
public:
  virtual ~TavLinkServicesHost() = default;
  static TavLinkServicesHost* Get();
  static void Install(TavLinkServicesHost* h);
  virtual int CanLinkFrom(const Ref<TavBaseUnknown>& node) = 0;
  virtual int CanLinkTo(const Ref<TavBaseUnknown>& node) = 0;
  virtual int AreAllreadyLinked(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b) = 0;
  virtual int LinkViolatesHierachy(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b) = 0;
  virtual HRESULT IsLinkOkForPrecedence(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b) = 0;
  virtual HRESULT Link(const Ref<TavBaseUnknown>& a, const Ref<TavBaseUnknown>& b) = 0;
  virtual HRESULT InsertSwitchAfter(const Ref<TavBaseUnknown>& node, Ref<TavBaseUnknown>& newNode) = 0;
  virtual HRESULT InsertOrInBefore(const Ref<TavBaseUnknown>& node, Ref<TavBaseUnknown>& newNode) = 0;
  virtual HRESULT IsMultiLevelPrecedenceCheckActivated() = 0;
  virtual HRESULT ActiveMultiLevelPrecedenceCheck() = 0;
  virtual HRESULT ReconnectProdOutputToDeliver(const Ref<TavBaseUnknown>&, const Ref<TavBaseUnknown>&) { return E_NOTIMPL; }
};

// Kinds of process constraint. A plain constraint is held by one activity on another
// (the precedence tools read it); a synchronisation ties the starts (ends) of two
// activities and is held by both, each side written through its own activity.
namespace TavConstraintType {
inline constexpr int Any = -1;  // reading only: every kind
inline constexpr int Plain = 0, StartStart = 1, EndEnd = 2;
}  // namespace TavConstraintType

// Process constraints of an activity: the activities it is constrained with.
class TavISPPProcessConstraintsMgt : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavISPPProcessConstraintsMgt);
  // The partners of one kind in the order made; Any: of every kind, each once.
  virtual std::vector<Ref<TavBaseUnknown>> GetConstraints(int type = TavConstraintType::Any) const = 0;
  // S_OK made, S_FALSE already there; E_FAIL, nothing changed and the last error set,
  // for no activity, the activity itself, an unknown kind or a locked activity.
  virtual HRESULT AddConstraint(const Ref<TavBaseUnknown>& other, int type = TavConstraintType::Plain) = 0;
  // S_OK removed; E_FAIL when this activity holds none of that kind with `other`, or is locked.
  virtual HRESULT RemoveConstraint(const Ref<TavBaseUnknown>& other, int type = TavConstraintType::Plain) = 0;
  // Whether a constraint of the kind to `other` may be made: both are activities (no flow
  // nodes), differ, and neither runs after the other by control flow or precedences, at
  // any depth or through their fathers. A lock is found when the constraint is written.
  virtual bool IsConstraintPossible(const Ref<TavBaseUnknown>& other, int type) const = 0;
  // Whether `other` is reached from this activity through constraints of any kind,
  // directly or through other activities.
  virtual bool HasIndirectConstraints(const Ref<TavBaseUnknown>& other) const = 0;
};

// The activities of the previous cycle an activity is constrained to.
class OrvIVekVisuConsToPrevCycle : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(OrvIVekVisuConsToPrevCycle);
  virtual std::vector<Ref<TavBaseUnknown>> GetPrevCycleConstraints() const = 0;
  // Replaces the list; E_FAIL (nothing changed) when an entry is no activity or the activity itself.
  virtual HRESULT SetPrevCycleConstraints(const std::vector<Ref<TavBaseUnknown>>& activities) = 0;
};

// The hub's modification authority of a hub document (a root container; null
// outside the hub): locks on objects for a user, and the process's access mode.
class TavIModificationAuthority : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIModificationAuthority);
  // Locks the object for the user, recording a modification entry with its PLM id.
  // S_OK (also when the user already holds it); E_FAIL when another user holds it.
  virtual HRESULT Lock(const Ref<TavBaseUnknown>& object, const TavUnicodeString& user,
                       const TavUnicodeString& plmId) = 0;
  // Who holds the lock; empty when the object is not locked.
  virtual TavUnicodeString GetLockOwner(const Ref<TavBaseUnknown>& object) const = 0;
  // The process is partially read-only and its control flow persists in the hub.
  virtual bool IsPartialReadOnly() const = 0;
  virtual bool IsControlFlowPersistent() const = 0;
};

inline Ref<TavIModificationAuthority> TavModificationAuthorityOf(const Ref<TavDocument>& doc) {
  if (!doc) return nullptr;
  return std::dynamic_pointer_cast<TavIModificationAuthority>(doc->GetRootContainer(TavIModificationAuthority::kInterfaceName));
}

// The modification log of a process: what was done to it, entry by entry.
class TavISPPLogActivity : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavISPPLogActivity);
  // Opens an entry (an open one is closed first); S_OK.
  virtual HRESULT StartLogEntry(const TavUnicodeString& text) = 0;
  virtual HRESULT EndLogEntry() = 0;
  virtual std::vector<TavUnicodeString> GetLogEntries() const = 0;
};

void TavDeclareFlowInterfaces();
