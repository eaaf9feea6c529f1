#pragma once
// Replaces one resource instance by a new instance of another resource in chosen
// activities: the new instance stands where the old one stood (same father, same
// placement) and takes over the old one's relations in those activities only.
#include <memory>

#include "OrvGenericReplaceRsrcDlg.h"
#include "TavPPR.h"

class OrvVekReplaceResourceServices {
public:
  static constexpr const char* kCompatibilityCatalog = "OrvEVekASMReplaceResource";

  // True when the new resource is a product; otherwise the message says why.
  static bool IsResourceCompatible(const Ref<TavBaseUnknown>& newResource, TavUnicodeString& message);

  // E_FAIL, nothing changed, when a piece is missing (the first resource's father,
  // its placement, the current document or its process). With `removeOld` 1 the
  // first instance leaves the document; with `secondIsInstance` the second resource
  // itself takes the first one's place. `created` receives the new instance.
  static HRESULT ReplaceResource(const Ref<TavBaseUnknown>& first, const Ref<TavBaseUnknown>& second,
                                 std::vector<Ref<TavISPPActivity>>* activities, unsigned char removeOld,
                                 unsigned char secondIsInstance, Ref<TavIProduct>* created = nullptr);
  static HRESULT ReplaceResource(const Ref<TavBaseUnknown>& first, const Ref<TavBaseUnknown>& second,
                                 const Ref<TavISPPActivity>& activity, unsigned char removeOld,
                                 unsigned char secondIsInstance, Ref<TavIProduct>* created = nullptr);

  // In every activity of the process that is also in the list: the first resource's
  // relations, under exactly the relation types it is held by and with their
  // attributes, move to the new instance. Returns how many activities changed.
  static int ReplaceInActivities(std::vector<Ref<TavISPPActivity>>* activities, const Ref<TavBaseUnknown>& first,
                                 const Ref<TavBaseUnknown>& newInstance);

  // The standard replacement brings no dialog of its own.
  static bool GetDialogObject(std::unique_ptr<OrvGenericReplaceRsrcDlg>& dialog) {
    dialog.reset();
    return false;
  }
};
