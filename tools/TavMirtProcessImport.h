#pragma once
// What a read process file does to an activity: its label and description, one
// child per operation (a type the host refuses falls back to "PhysicalActivity"),
// and the sequence's flow links, each taking the first child with its label. The
// command and `mirt import` share it.
#include <string>
#include <vector>

#include "TavMirtProcessFile.h"
#include "TavPPR.h"

struct TavMirtImportReport {
  struct Fallback {
    std::string label, type;  // the operation and the type the host refused
  };
  struct Link {
    std::string source, target;
    int line = 0;
    // "made", "existing" (the flow already had it), "no source", "no target",
    // "refused" (the flow would not take it)
    std::string result;
  };
  std::vector<Ref<TavISPPActivity>> created;  // in file order
  std::vector<Fallback> fallbacks;
  std::vector<Link> links;
  int Count(const std::string& result) const;
};

// All or nothing: false with the reason, and the model as before, when the activity
// takes no children or a child cannot be made even as a physical activity.
bool TavMirtApplyProcessFile(const Ref<TavISPPActivity>& activity, const TavMirtProcessFile& file,
                             TavMirtImportReport& report, std::string* error);

// A child of the type, or null when the host refuses it (by a null answer or by
// throwing).
Ref<TavBaseUnknown> TavMirtCreateChild(TavISPPChildManagement& children, const TavUnicodeString& type,
                                       const TavUnicodeString& label);
