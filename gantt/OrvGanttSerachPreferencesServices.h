#pragma once
// The saved Gantt queries in preference repository "OrvGanttSearch": the names in
// saving order ("SavedQueryList", "SavedQueryListSize") and per query its strings
// (name + "_QN") and their number (name + "_QS"). Results: S_OK, else E_FAIL.
#include <vector>

#include "TavBase.h"
#include "TavString.h"

class OrvGanttSerachPreferencesServices {
public:
  static constexpr const char* kRepository = "OrvGanttSearch";
  static constexpr const char* kListKey = "SavedQueryList";
  static constexpr const char* kListSizeKey = "SavedQueryListSize";
  // Longest name, in bytes of UTF-8.
  static constexpr std::size_t kMaxNameLength = 252;

  // Refused for an empty list, a bad name, or when the repository cannot be saved;
  // the store is then as before.
  static HRESULT SetSavedQuery(const TavUnicodeString& name, const std::vector<TavUnicodeString>& list);
  // The strings of a saved query, empty ones skipped. Refused, `list` empty, when the
  // query is not stored, its count disagrees with its strings, or its strings do not
  // alternate condition and combinator.
  static HRESULT GetSavedQuery(const TavUnicodeString& name, std::vector<TavUnicodeString>& list);
  // Refused when the name is not saved or the repository cannot be saved (store as before).
  static HRESULT DeleteSavedQuery(const TavUnicodeString& name);
  static HRESULT GetListOfSavedQueryNames(std::vector<TavUnicodeString>& list);
  // The stored names and their stored count; refused when the two disagree.
  static HRESULT RetrieveSavedQueryList(std::vector<TavUnicodeString>& array, int& count);
  // Adds (when absent) or removes a name, then rewrites the list and its size (not saved).
  static HRESULT AddOrDeleteThisQueryToSavedQueriesList(const TavUnicodeString& name,
                                                        std::vector<TavUnicodeString>& list, bool add);
  // name + "_QN" and name + "_QS"; refused for an empty name or one over 252 bytes.
  static HRESULT GetSavedQueryAttrNamesForTavPreference(const TavUnicodeString& name, std::string& listAttr,
                                                        std::string& sizeAttr);
  // Why the last call failed, for messages and the batch verb ("" after a success).
  static const std::string& LastError();
};
