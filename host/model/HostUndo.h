#pragma once
// The undo journal of a document. While a transaction is open, every model change
// records what reverses it as a small tagged record; the records of a closed
// transaction are one undo step. Applying a record reverses its change and records
// what reverses that in turn, so undoing a step yields its redo step and redoing
// yields the undo step again. Records hold the objects they name: a removed subtree
// is kept alive by its step and put back as it was, never made anew. Nothing in a
// step outlives Clear(), which closing the document calls.
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "HostModel.h"
#include "TavCommand.h"

namespace host {

// A change a host feature records itself (behaviours, contexts, fasteners, TSAs).
class UndoAction {
public:
  virtual ~UndoAction() = default;
  // Reverses the change and records what reverses that (through the document's
  // mutators or UndoLog::Add); false with a message, nothing changed, when it cannot.
  virtual bool Apply(HostDocument& doc, std::string& why) = 0;
  // Bytes held, for the stack's memory bound.
  virtual std::size_t Bytes() const = 0;
  // Whether this record (of a change that made something) and `later`, recorded right
  // after it, reverse each other: a thing made and taken away again changes nothing.
  virtual bool Cancels(const UndoAction& later) const {
    (void)later;
    return false;
  }
  // A record of one field's old value names the object the field belongs to (null:
  // the record is no such thing), and says whether the field holds that value again.
  // Within a step only a field's oldest record counts, and none when it holds its
  // old value again: a colour changed and put back leaves no step.
  virtual const void* FieldOwner() const { return nullptr; }
  virtual bool FieldUnchanged() const { return false; }
};

enum class UndoText : std::uint8_t { Label, Description, Name, PartNumber, ResourceType, DisplayName, PlanType };
enum class UndoNumber : std::uint8_t { Time, AssemblyType, ContentByStructure, HasPosition, NotDirectlyChangeable };
enum class UndoLinkKind : std::uint8_t { Flow, Precedence, Constraint, PrevCycle, StartStart, EndEnd };

// The records; each says what to do to reverse one change.
namespace undo {
struct Text {  // object null: the document's display name
  Ref<HostObject> object;
  TavUnicodeString value;
  UndoText field;
};
struct Number {
  Ref<HostObject> object;
  double value;
  UndoNumber field;
};
struct Position {
  Ref<HostProduct> product;
  std::unique_ptr<TavIMovable::Position> value;
};
// An attribute of an object or a relation: put `value` back at `index`, or remove it (no value).
struct AttributeState {
  TavUnicodeString name;
  std::optional<TavValue> value;
  std::uint32_t index;
};
struct Attribute {
  Ref<TavBaseUnknown> holder;  // a HostObject or a HostRelation
  std::unique_ptr<AttributeState> state;
};
// Structure: attach (put back at index) or detach (take away) a subtree or an entry.
struct Child {  // father null: a root of the process container
  Ref<HostActivity> child, father;
  std::uint32_t index;
  bool attach;
};
struct Product {  // father null: a root of the product or resource list
  Ref<HostProduct> product, father;
  std::uint32_t index;
  bool attach;
};
struct Assembly {
  Ref<HostAssembly> assembly;
  std::uint32_t index;
  bool attach;
};
struct Relation {
  Ref<HostActivity> owner;
  Ref<HostRelation> relation;
  std::uint32_t index;
  bool attach;
};
struct Link {  // from's forward list at `forward`, to's backward list at `backward`
  Ref<HostActivity> from, to;
  std::uint32_t forward, backward;
  UndoLinkKind kind;
  bool attach;
};
struct Part {
  Ref<HostAssembly> assembly;
  Ref<TavBaseUnknown> part;
  std::uint32_t index;
  bool attach;
};
struct Custom {
  std::unique_ptr<UndoAction> action;
};
}  // namespace undo

using UndoRecord = std::variant<undo::Text, undo::Number, undo::Position, undo::Attribute, undo::Child, undo::Product,
                                undo::Assembly, undo::Relation, undo::Link, undo::Part, undo::Custom>;

// Every change recorded in any log, undo and redo included (TavModelChanges).
inline std::uint64_t g_recordedChanges = 0;

// The records of an open transaction (or of an undo being applied), in order.

class UndoLog {
public:
  template <class R>
    requires std::is_constructible_v<UndoRecord, R&&>
  void Add(R&& r) {
    ++g_recordedChanges;
    records_.emplace_back(std::forward<R>(r));
  }
  void Add(std::unique_ptr<UndoAction> a) {
    ++g_recordedChanges;
    records_.emplace_back(undo::Custom{std::move(a)});
  }
  std::vector<UndoRecord>& Records() { return records_; }
  const std::vector<UndoRecord>& Records() const { return records_; }

private:
  std::vector<UndoRecord> records_;
};

// A handle on a model object from inside it (objects are always made shared):
// one count taken, not the three of a weak handle locked.
template <class T>
Ref<T> SelfRef(T& o) {
  return Ref<T>(o.shared_from_this(), &o);
}

// Where a change of the object is recorded; null while nothing records.
inline UndoLog* RecorderOf(const HostObject& o) {
  const HostDocument* d = o.Doc();
  return d ? d->Recording() : nullptr;
}

// How a failing undo step names an object, and its reason when the object left the
// document since the step was recorded (always false, to return from an Apply).
std::string UndoName(const HostObject& o);
bool UndoGone(const HostObject& o, std::string& why);

// Records the state of one attribute before it changes (set or removed).
void RecordAttribute(UndoLog& log, Ref<TavBaseUnknown> holder, const std::vector<TavAttribute>& list, const TavUnicodeString& name);

class UndoJournal {
public:
  struct Step {
    std::string name;
    std::vector<UndoRecord> records;
    Ref<TavCommandGlobalUndo> global;
    std::size_t bytes = 0;
  };

  explicit UndoJournal(HostDocument& doc) : doc_(doc) {}
  ~UndoJournal();
  UndoJournal(const UndoJournal&) = delete;
  UndoJournal& operator=(const UndoJournal&) = delete;

  // ---- transactions; they nest, and only the outermost one makes a step
  void Begin();
  bool InTransaction() const { return depth_ > 0; }
  // Closes one level. The outermost: its records become one step named `name`, which
  // drops the redo branch; nothing recorded leaves no step. True when a step was made.
  bool Commit(const std::string& name, Ref<TavCommandGlobalUndo> global = nullptr);
  // Closes the outermost level with the model as when it opened. False with a message
  // when a change could not be taken back (the model then stays as it was).
  bool Abort(std::string* error);
  // Closes the outermost level, forgetting its records (a savepoint's own record).
  void Discard();
  // Which transaction is open: a savepoint of an ended one is refused.
  std::uint64_t TransactionSerial() const { return serial_; }
  std::size_t Mark() const { return open_.Records().size(); }
  // The model as at the mark; false with a message, the model unchanged, when it cannot be.
  bool RollBack(std::size_t mark, std::string* error);
  std::size_t OpenChanges() const { return open_.Records().size(); }

  // ---- the stack, oldest step first; steps [0, Position()) are applied
  std::size_t Size() const { return steps_.size(); }
  std::size_t Position() const { return position_; }
  const Step& StepAt(std::size_t i) const { return steps_[i]; }
  // One step back (forward). False with a message and the model as before when there
  // is none or an inverse cannot be applied (an object the step names is gone).
  bool Undo(std::string* error);
  bool Redo(std::string* error);

  // ---- saved state: modified == (position != saved position) or changes pending
  void MarkSaved();
  bool IsModified() const;
  // The oldest steps go first beyond either bound; the newest step always stays.
  void SetLimits(std::size_t maxSteps, std::size_t maxBytes);
  std::size_t Bytes() const { return bytes_; }
  // Forgets every step and the open records (the document closes).
  void Clear();

private:
  // Applies `records` last first, recording into `out`; on a failure the applied ones
  // are reversed again and `records` holds the same changes as before.
  bool ApplyAll(std::vector<UndoRecord>& records, UndoLog& out, std::string* error);
  void Record(UndoLog* log);
  void Trim();

  HostDocument& doc_;
  UndoLog open_;
  int depth_ = 0;
  std::uint64_t serial_ = 0;
  std::deque<Step> steps_;
  std::size_t position_ = 0;
  std::uint64_t base_ = 0;  // absolute number of steps_[0]
  std::optional<std::uint64_t> saved_ = 0;  // absolute position saved; none: unreachable
  std::size_t maxSteps_ = 100, maxBytes_ = std::size_t(256) << 20, bytes_ = 0;
};

// A batch job's changes to one document, all or nothing: rolled back unless kept.
// The commands it runs nest inside it, so a failure half-way leaves the model as
// before the job.
class UndoScope {
public:
  explicit UndoScope(HostDocument& doc) : doc_(doc) { doc_.Journal().Begin(); }
  ~UndoScope() {
    if (!done_) doc_.Journal().Abort(nullptr);
  }
  UndoScope(const UndoScope&) = delete;
  UndoScope& operator=(const UndoScope&) = delete;
  // The changes stay, as one step named `name`.
  void Keep(const std::string& name) {
    done_ = true;
    doc_.Journal().Commit(name);
  }

private:
  HostDocument& doc_;
  bool done_ = false;
};

// Bytes a record holds (itself and what it owns), for the memory bound.
std::size_t RecordBytes(const UndoRecord& r);

}  // namespace host
