#pragma once
// What the two reference commands share: the assembly pick that a kit sends back to
// "SelectMA", and the error flag that decides how "ErrorCheck" is left.
#include <memory>

#include "TavCommand.h"
#include "TavMfgVersioning.h"

class OrvMARefEbomCommon : public TavStateCommand {
public:
  using TavStateCommand::TavStateCommand;

protected:
  // Builds "SelectMA" -> "ErrorCheck" -> back to "SelectMA" on an error, or to the end
  // through `finish`. `select` is the state the MA pick is made in.
  void BuildMASelection(TavDialogState* select, TavAction finish);
  // The picked object, remembered when it is an assembly other than a kit; the error
  // flag says whether it was.
  bool SelectMA();
  // Forgets the assembly, clears the flag and waits for another pick.
  bool ActionCleanUP();
  void SetError() { error_ = true; }
  void UnSetError() { error_ = false; }
  bool IsError() { return error_; }
  bool IsNoError() { return !error_; }
  Ref<OrvIMfgAssemblyReference> Assembly() const { return ma_; }

  std::unique_ptr<TavPathElementAgent> maAgent_;

private:
  Ref<OrvIMfgAssemblyReference> ma_;
  bool error_ = false;
};
