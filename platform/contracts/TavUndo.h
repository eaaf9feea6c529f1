#pragma once
// Savepoints in the host's record of model changes. An action that fails half-way
// rolls back to its mark and leaves the model exactly as before it, whatever it
// had changed on the way (relations, behaviours, values, created objects):
//
//   TavSavepoint mark;
//   ... changes through the model interfaces ...
//   if (failed) mark.RollBack();
#include <memory>
#include <string>

// One mark, made by the host.
class TavISavepoint {
public:
  virtual ~TavISavepoint() = default;
  // The model as at the mark again. False with a message, and the model as it was
  // before the call, when a change cannot be taken back.
  virtual bool RollBack(std::string* error) = 0;
};

// What the host installs (its command engine does).
class TavTransactionHost {
public:
  virtual ~TavTransactionHost() = default;
  static TavTransactionHost* Get();
  static void Install(TavTransactionHost* host);  // null uninstalls
  // A mark in the change record of every open document. Outside a command the mark
  // starts a record of its own, dropped with the mark.
  virtual std::unique_ptr<TavISavepoint> Mark() = 0;
};

class TavSavepoint {
public:
  TavSavepoint();
  ~TavSavepoint();
  TavSavepoint(const TavSavepoint&) = delete;
  TavSavepoint& operator=(const TavSavepoint&) = delete;
  // False with a message when no host records changes or a change cannot be taken back.
  bool RollBack(std::string* error = nullptr);
  bool IsRecording() const { return mark_ != nullptr; }

private:
  std::unique_ptr<TavISavepoint> mark_;
};
