#pragma once
// Activity libraries of process documents: one library container per <library> of
// the plant (and per workbench library attached), the document's library root
// container, hub plan types, and the plant sections <activityLibraries> and
// <planTypes> (docs/activity-library.md, docs/plant-format.md).
#include "ActivityLibrary.h"

namespace host {

// A library of one document (late type "SPPLibCont").
class HostLibraryContainer final : public virtual TavIActivityLibrary {
public:
  HostLibraryContainer(const ActivityLibraryFile& file, Ref<LibraryDocument> document, std::string writtenPath, bool workbench)
      : file_(file), document_(std::move(document)), writtenPath_(std::move(writtenPath)), workbench_(workbench) {}
  std::string LateType() const override { return "SPPLibCont"; }
  Ref<TavLibraryDocument> GetLibraryDocument() const override { return document_; }
  std::vector<Ref<TavIActivityType>> GetActivityTypes() const override { return {file_.Types().begin(), file_.Types().end()}; }

  const ActivityLibraryFile& File() const { return file_; }
  LibraryDocument& Document() { return *document_; }
  // The path as the plant gives it; empty for a workbench library (never saved).
  const std::string& WrittenPath() const { return writtenPath_; }
  bool IsWorkbenchLibrary() const { return workbench_; }

private:
  const ActivityLibraryFile& file_;
  Ref<LibraryDocument> document_;
  std::string writtenPath_;
  bool workbench_;
};

// Marks the document's libraries named `name` (file name, or path as the plant gives
// it) modified and not saved. False with a message when none is named so.
bool MarkLibraryModified(HostDocument& doc, const std::string& name, std::string& error);

// The library containers of a document, in order.
std::vector<Ref<HostLibraryContainer>> LibrariesOf(const HostDocument& doc);

// The hub plan type assigned to an activity, behaviour or resource of a hub
// document; empty when it has none.
std::string PlanTypeNameOf(const HostObject& object);
// Gives an activity, behaviour or resource of a hub document the plan type of that
// name (a copy the plan type of its source); false when the document has none so
// named. Plan types are the hub's records: undo leaves them alone, and the
// assignment of an object that left the plant is not written.
bool AssignPlanType(const HostObject& object, const std::string& planType);

// Installs the type cache, the library and plan-type containers of every document,
// the sections <activityLibraries> and <planTypes>, and reads the workbench's own
// libraries so that their types exist for every plant.
void RegisterLibraryHost();

}  // namespace host
