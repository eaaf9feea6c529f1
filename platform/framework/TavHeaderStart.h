#pragma once
// Starting the command of a listed header with an object for it: a list of picked
// objects, say. The started command takes the object over while it starts (a host may
// start it once the step that fired the header has settled); when the command cannot
// start, the object goes with it.
#include <memory>
#include <string>
#include <vector>

#include "TavCommand.h"
#include "TavWorkbench.h"

class TavHeaderArgument {
public:
  virtual ~TavHeaderArgument() = default;
};

// A list of objects handed to a command.
template <class T>
class TavHeaderList final : public TavHeaderArgument {
public:
  explicit TavHeaderList(std::vector<Ref<T>> items) : items(std::move(items)) {}
  std::vector<Ref<T>> items;
};

// Creates the header's command, hands it `argument` and starts it through the host;
// false with a message when the class is unknown or the command cannot start.
bool TavStartHeaderCommand(const TavCommandHeader& header, std::unique_ptr<TavHeaderArgument> argument, std::string* error);
// The object the command was started with (the command owns it from then on); null
// when none. Called while the command starts (in BuildGraph).
std::unique_ptr<TavHeaderArgument> TavTakeHeaderArgument(const TavStateCommand& command);
