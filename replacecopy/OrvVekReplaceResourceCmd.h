#pragma once
// Replaces a resource instance by another resource in chosen activities: pick the
// first resource, then pick or name the second in the dialog, choose the activities
// and confirm. A resource that brings its own replacement (OrvIReplaceResource)
// brings its own dialog and does the replacement itself.
#include <memory>

#include "OrvGenericReplaceRsrcDlg.h"
#include "TavCommand.h"

class OrvVekReplaceResourceCmd : public TavStateCommand {
public:
  static constexpr const char* kCatalog = "OrvVekReplaceResourceCmd";

  OrvVekReplaceResourceCmd();
  ~OrvVekReplaceResourceCmd() override;
  void BuildGraph() override;

  virtual bool ToSelectFirstResource();
  virtual bool ToSelectSecResource();
  virtual bool ToReplaceResource();
  virtual bool CancelReplaceResource();
  virtual bool IsValidFirstResource(TavAcquisitionAgent* agent);
  virtual bool IsValidSecondResource(TavAcquisitionAgent* agent);

  // False when a product of the process's product list (or one below it) has this instance name.
  bool CheckIfInPrdList(const TavUnicodeString& instanceName);
  bool CheckIfInPrdHeirarchy(const Ref<TavIProduct>& product, const TavUnicodeString& instanceName);
  // The current document's environment name ("YorDocEnv" in the hub).
  HRESULT GetDocumentEnvironment(TavUnicodeString& name);
  HRESULT GetPlanTypeOfResource(const Ref<TavBaseUnknown>& resource, TavUnicodeString& planType);
  bool IsAWSC(const Ref<TavBaseUnknown>& product);
  void AddDevice(const Ref<TavIProduct>& resource);
  void RemoveDevice();
  void DispatchActivityNotif(const TavUnicodeString& kind);

  // The picks' tests without a pick (the dialog's names and files, batch jobs):
  // false with the reason when the object cannot be the first (second) resource.
  bool AcceptsFirst(const Ref<TavBaseUnknown>& candidate, TavUnicodeString* why = nullptr);
  bool AcceptsSecond(const Ref<TavBaseUnknown>& candidate, TavUnicodeString* why = nullptr);
  // A batch job's first resource, taken without the first pick.
  void SetFirstResource(const Ref<TavIProduct>& first) { first_ = first; }

  // State the tests look at.
  OrvGenericReplaceRsrcDlg* Dialog() const { return dialog_.get(); }
  const Ref<TavIProduct>& FirstResource() const { return first_; }
  const Ref<TavIProduct>& SecondResource() const { return second_; }
  // What the last confirmed replacement made (null when none).
  const Ref<TavIProduct>& NewInstance() const { return newInstance_; }

private:
  // A pick the test accepts, as the resource alone when its leaf is a resource.
  bool TakePick(TavAcquisitionAgent* agent, bool (OrvVekReplaceResourceCmd::*test)(const Ref<TavBaseUnknown>&, TavUnicodeString*));
  void ShowErrorMessage(const TavUnicodeString& text);

  std::unique_ptr<TavPathElementAgent> firstAgent_, secondAgent_;
  std::unique_ptr<TavDialogAgent> okAgent_, cancelAgent_;
  std::unique_ptr<OrvGenericReplaceRsrcDlg> dialog_;
  Ref<TavIProduct> first_, second_, newInstance_;
  unsigned char fromOutside_ = 0;
};

std::unique_ptr<TavStateCommand> fctCreateOrvVekReplaceResourceCmd();
