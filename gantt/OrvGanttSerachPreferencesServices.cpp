#include "OrvGanttSerachPreferencesServices.h"

#include <algorithm>
#include <optional>

#include "OrvGanttSearchQueries.h"
#include "TavServices.h"

namespace {
using Strings = std::vector<TavUnicodeString>;
std::string g_error;

TavRepository& Repo() { return TavSysPreferenceRepository::GetRepository(OrvGanttSerachPreferencesServices::kRepository); }

HRESULT Fail(std::string why) {
  g_error = std::move(why);
  return E_FAIL;
}

// What a key held before a change, so that a failed save can put it back.
struct Saved {
  std::string key;
  std::optional<TavValue> value;
  std::optional<Strings> strings;
};
Saved Keep(TavRepository& r, const std::string& key) { return {key, r.Read(key), r.ReadStrings(key)}; }
void Restore(TavRepository& r, const std::vector<Saved>& before) {
  for (const Saved& s : before) {
    r.Delete(s.key);
    if (s.value) r.Write(s.key, *s.value);
    if (s.strings) r.WriteStrings(s.key, *s.strings);
  }
}

HRESULT WriteList(TavRepository& r, const Strings& names) {
  if (r.WriteStrings(OrvGanttSerachPreferencesServices::kListKey, names) < static_cast<int>(names.size()) ||
      (names.empty() && !r.ReadStrings(OrvGanttSerachPreferencesServices::kListKey)))
    return Fail("the list of saved queries cannot be written");
  r.Write(OrvGanttSerachPreferencesServices::kListSizeKey, static_cast<std::int64_t>(names.size()));
  return S_OK;
}

HRESULT SaveOrRestore(TavRepository& r, const std::vector<Saved>& before) {
  std::string why;
  if (r.Save(&why)) return S_OK;
  Restore(r, before);
  return Fail(why.empty() ? "the preference repository cannot be saved" : why);
}

// A change of one saved query: its two keys, the names saved, and what the keys held
// before, so that a failed save can put it all back.
struct Change {
  TavRepository& repo = Repo();
  std::string qn, qs;
  Strings names;
  std::vector<Saved> before;
  HRESULT Open(const TavUnicodeString& name) {
    int count = 0;
    if (FAILED(OrvGanttSerachPreferencesServices::GetSavedQueryAttrNamesForTavPreference(name, qn, qs)) ||
        FAILED(OrvGanttSerachPreferencesServices::RetrieveSavedQueryList(names, count)))
      return E_FAIL;
    before = {Keep(repo, qn), Keep(repo, qs), Keep(repo, OrvGanttSerachPreferencesServices::kListKey),
              Keep(repo, OrvGanttSerachPreferencesServices::kListSizeKey)};
    return S_OK;
  }
};
}  // namespace

const std::string& OrvGanttSerachPreferencesServices::LastError() { return g_error; }

HRESULT OrvGanttSerachPreferencesServices::GetSavedQueryAttrNamesForTavPreference(const TavUnicodeString& name,
                                                                                 std::string& listAttr,
                                                                                 std::string& sizeAttr) {
  if (name.IsEmpty()) return Fail("a saved query needs a name");
  if (name.size() > kMaxNameLength)
    return Fail("the name has " + std::to_string(name.size()) + " bytes, more than " + std::to_string(kMaxNameLength));
  listAttr = name.utf8() + "_QN";
  sizeAttr = name.utf8() + "_QS";
  g_error.clear();
  return S_OK;
}

HRESULT OrvGanttSerachPreferencesServices::RetrieveSavedQueryList(std::vector<TavUnicodeString>& array, int& count) {
  array.clear();
  count = 0;
  TavRepository& r = Repo();
  const std::int64_t size = r.ReadInt(kListSizeKey, 0);
  Strings names = r.ReadStrings(kListKey).value_or(Strings{});
  if (size < 0 || static_cast<std::size_t>(size) != names.size())
    return Fail("the store holds " + std::to_string(names.size()) + " query names but counts " + std::to_string(size));
  array = std::move(names);
  count = static_cast<int>(array.size());
  g_error.clear();
  return S_OK;
}

HRESULT OrvGanttSerachPreferencesServices::GetListOfSavedQueryNames(std::vector<TavUnicodeString>& list) {
  int count = 0;
  return RetrieveSavedQueryList(list, count);
}

HRESULT OrvGanttSerachPreferencesServices::AddOrDeleteThisQueryToSavedQueriesList(const TavUnicodeString& name,
                                                                                  std::vector<TavUnicodeString>& list,
                                                                                  bool add) {
  auto it = std::find(list.begin(), list.end(), name);
  if (add && it == list.end()) list.push_back(name);
  if (!add && it != list.end()) list.erase(it);
  return WriteList(Repo(), list);
}

HRESULT OrvGanttSerachPreferencesServices::SetSavedQuery(const TavUnicodeString& name,
                                                         const std::vector<TavUnicodeString>& list) {
  if (list.empty()) return Fail("the query is empty");
  // Stored only as it can be read back: conditions alternating with AND/OR.
  if (!OrvGanttSearchQueries::IsWellFormed(list)) return Fail("the query does not alternate conditions and AND/OR");
  Change c;
  if (FAILED(c.Open(name))) return E_FAIL;
  if (c.repo.WriteStrings(c.qn, list) < 1) {
    Restore(c.repo, c.before);
    return Fail("the query's strings cannot be written");
  }
  c.repo.Write(c.qs, static_cast<std::int64_t>(list.size()));
  if (std::find(c.names.begin(), c.names.end(), name) == c.names.end() &&
      FAILED(AddOrDeleteThisQueryToSavedQueriesList(name, c.names, true))) {
    Restore(c.repo, c.before);
    return E_FAIL;
  }
  if (FAILED(SaveOrRestore(c.repo, c.before))) return E_FAIL;
  g_error.clear();
  return S_OK;
}

HRESULT OrvGanttSerachPreferencesServices::GetSavedQuery(const TavUnicodeString& name,
                                                         std::vector<TavUnicodeString>& list) {
  list.clear();
  std::string qn, qs;
  if (FAILED(GetSavedQueryAttrNamesForTavPreference(name, qn, qs))) return E_FAIL;
  TavRepository& r = Repo();
  const std::int64_t size = r.ReadInt(qs, -1);
  const auto strings = r.ReadStrings(qn);
  if (size < 0 || !strings) return Fail("no query '" + name.utf8() + "' is saved");
  // Never past the stored strings: a count that disagrees means a damaged entry.
  if (static_cast<std::size_t>(size) != strings->size())
    return Fail("the saved query '" + name.utf8() + "' counts " + std::to_string(size) + " strings but holds " +
                std::to_string(strings->size()));
  Strings out;
  for (const auto& s : *strings)
    if (!s.IsEmpty()) out.push_back(s);
  if (!OrvGanttSearchQueries::IsWellFormed(out))
    return Fail("the saved query '" + name.utf8() + "' does not alternate conditions and AND/OR");
  list = std::move(out);
  g_error.clear();
  return S_OK;
}

HRESULT OrvGanttSerachPreferencesServices::DeleteSavedQuery(const TavUnicodeString& name) {
  Change c;
  if (FAILED(c.Open(name))) return E_FAIL;
  if (std::find(c.names.begin(), c.names.end(), name) == c.names.end()) return Fail("no query '" + name.utf8() + "' is saved");
  c.repo.Delete(c.qn);
  c.repo.Delete(c.qs);
  if (FAILED(AddOrDeleteThisQueryToSavedQueriesList(name, c.names, false))) {
    Restore(c.repo, c.before);
    return E_FAIL;
  }
  if (FAILED(SaveOrRestore(c.repo, c.before))) return E_FAIL;
  g_error.clear();
  return S_OK;
}
