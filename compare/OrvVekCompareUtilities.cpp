#include "OrvVekCompareUtilities.h"

#include <algorithm>
#include <string_view>

#include "TavCompare.h"
#include "TavServices.h"
#include "TavSettingComponents.h"

namespace {

std::string Head(const TavUnicodeString& feature) { return "$$" + feature.utf8() + "$"; }

std::string Quoted(const TavUnicodeString& s) { return "\"" + s.utf8() + "\""; }

}  // namespace

void OrvVekCompareUtilities::BuildCheckList(const TavUnicodeString& text, std::vector<TavUnicodeString>& names,
                                            std::vector<TavUnicodeString>& kinds, const TavUnicodeString& feature) {
  names.clear();
  kinds.clear();
  if (text.Strip().IsEmpty()) return;
  const std::string& s = text.utf8();
  const std::string head = Head(feature);
  const std::size_t at = s.find(head);
  if (at == std::string::npos) return;
  const std::size_t begin = at + head.size();
  const std::size_t end = std::min(s.find('$', begin), s.size());
  // name|kind| pairs; a last name without its kind is no entry.
  std::string_view block = std::string_view(s).substr(begin, end - begin);
  while (true) {
    const std::size_t bar = block.find('|');
    if (bar == std::string_view::npos) break;
    const std::string_view name = block.substr(0, bar);
    block.remove_prefix(bar + 1);
    const std::size_t bar2 = block.find('|');
    const std::string_view kind = block.substr(0, bar2);
    if (!name.empty() && (kind == "V" || kind == "E")) {
      names.emplace_back(name);
      kinds.emplace_back(kind);
    }
    if (bar2 == std::string_view::npos) break;
    block.remove_prefix(bar2 + 1);
  }
}

TavUnicodeString OrvVekCompareUtilities::RemoveCurrentFeatureFromAttList(const TavUnicodeString& text,
                                                                         const TavUnicodeString& feature) {
  std::string s = text.utf8();
  const std::string head = Head(feature);
  // Every block of the feature: a text edited by hand may hold two, and the reader
  // would take the first.
  for (std::size_t at; (at = s.find(head)) != std::string::npos;) {
    const std::size_t end = s.find('$', at + head.size());
    s.erase(at, end == std::string::npos ? std::string::npos : end - at);
  }
  return s;
}

bool OrvVekCompareUtilities::ReplaceFeatureBlock(TavUnicodeString& text, const TavUnicodeString& feature,
                                                 const std::vector<TavUnicodeString>& names,
                                                 const std::vector<TavUnicodeString>& kinds, std::string& problem) {
  if (names.size() != kinds.size()) {
    problem = "the attribute names and kinds differ in number";
    return false;
  }
  if (feature.IsEmpty() || feature.Contains("$")) {
    problem = "the feature name " + Quoted(feature) + " cannot be kept in the report attribute list (empty or holding \"$\")";
    return false;
  }
  std::string block = Head(feature);
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i].IsEmpty() || names[i].Contains("$") || names[i].Contains("|")) {
      problem = "the attribute name " + Quoted(names[i]) + " cannot be kept in the report attribute list (empty or holding \"$\" or \"|\")";
      return false;
    }
    if (!(kinds[i] == "V") && !(kinds[i] == "E")) {
      problem = "the attribute " + Quoted(names[i]) + " has the kind " + Quoted(kinds[i]) + " (V or E)";
      return false;
    }
    block += names[i].utf8() + "|" + kinds[i].utf8() + "|";
  }
  TavUnicodeString written = RemoveCurrentFeatureFromAttList(text, feature) + TavUnicodeString(block);
  // What is written must read back as it was given: the joined remains of a
  // malformed text could otherwise hide the new block behind an old head.
  std::vector<TavUnicodeString> n, k;
  BuildCheckList(written, n, k, feature);
  if (n != names || k != kinds) {
    problem = "the stored report attribute list is malformed around the block of " + Quoted(feature);
    return false;
  }
  text = std::move(written);
  return true;
}

bool OrvVekCompareUtilities::ReadCheckList(const TavUnicodeString& feature, std::vector<TavUnicodeString>& names,
                                           std::vector<TavUnicodeString>& kinds) {
  names.clear();
  kinds.clear();
  if (!TavSettingComponents::CanCreate(OrvIDSICompareToolSettingAtt::kRepository)) return false;
  TavRepository& r = TavSettingRepository::GetRepository(OrvIDSICompareToolSettingAtt::kRepository);
  BuildCheckList(r.ReadString(OrvIDSICompareToolSettingAtt::kReportAttributesKey, {}), names, kinds, feature);
  return true;
}

bool OrvVekCompareUtilities::SaveCheckList(const TavUnicodeString& feature, const std::vector<TavUnicodeString>& names,
                                           const std::vector<TavUnicodeString>& kinds, std::string& problem) {
  if (!TavSettingComponents::CanCreate(OrvIDSICompareToolSettingAtt::kRepository)) {
    problem = "the comparison settings are not available";
    return false;
  }
  TavRepository& r = TavSettingRepository::GetRepository(OrvIDSICompareToolSettingAtt::kRepository);
  const TavUnicodeString before = r.ReadString(OrvIDSICompareToolSettingAtt::kReportAttributesKey, {});
  TavUnicodeString text = before;
  if (!ReplaceFeatureBlock(text, feature, names, kinds, problem)) return false;
  r.Write(OrvIDSICompareToolSettingAtt::kReportAttributesKey, text);
  if (!r.Save(&problem)) {
    r.Write(OrvIDSICompareToolSettingAtt::kReportAttributesKey, before);
    return false;
  }
  return true;
}

TavUnicodeString OrvVekCompareUtilities::CreateTooltipString(const TavUnicodeString& path, const TavUnicodeString& separator) {
  const std::string& p = path.utf8();
  const std::string& sep = separator.utf8();
  if (sep.empty()) return path;
  std::string out;
  for (std::size_t from = 0;;) {
    const std::size_t at = p.find(sep, from);
    out += p.substr(from, at == std::string::npos ? std::string::npos : at - from);
    if (at == std::string::npos) break;
    out += '\n';
    from = at + sep.size();
  }
  return out;
}
