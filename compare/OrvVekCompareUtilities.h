#pragma once
// The report-attribute check list: which attributes a comparison report lists for
// the roots of one feature. It is kept as one text in the comparison settings
// (OrvIDSICompareToolSettingAtt::kReportAttributesKey), one block per feature:
//
//   $$<feature>$<name>|<kind>|<name>|<kind>|...$$<feature>$...
//
// kind "V" for an own attribute, "E" for a hub attribute. A block ends at the first
// "$" after its head. Names never hold "$" or "|" and are never empty, so every text
// written reads back as the lists it was written from.
#include <string>
#include <vector>

#include "TavString.h"

class OrvVekCompareUtilities {
public:
  // The feature of a root that has none.
  static constexpr const char* kNoFeature = "FeatureNameNotAvailable";

  // The feature's block of `text`, in list order: entries with an empty name or a
  // kind other than "V" and "E" are skipped. Empty lists when the text is blank or
  // holds no block of the feature; a malformed text gives what parses.
  static void BuildCheckList(const TavUnicodeString& text, std::vector<TavUnicodeString>& names,
                             std::vector<TavUnicodeString>& kinds, const TavUnicodeString& feature);
  // `text` without any block of the feature; the other blocks stay as they are.
  static TavUnicodeString RemoveCurrentFeatureFromAttList(const TavUnicodeString& text, const TavUnicodeString& feature);
  // The feature's old block removed and a new one of names/kinds appended at the end.
  // False with a message, `text` unchanged, for what the text cannot hold: a "$" in
  // the feature, an empty name, a "$" or "|" in a name, a kind other than V and E.
  static bool ReplaceFeatureBlock(TavUnicodeString& text, const TavUnicodeString& feature,
                                  const std::vector<TavUnicodeString>& names, const std::vector<TavUnicodeString>& kinds,
                                  std::string& problem);

  // A path's tooltip: one line per name, the path split at each separator text.
  static TavUnicodeString CreateTooltipString(const TavUnicodeString& path, const TavUnicodeString& separator);
  // The stored selection of the feature (empty lists when none is stored); false,
  // the lists empty, when the settings component cannot be created.
  static bool ReadCheckList(const TavUnicodeString& feature, std::vector<TavUnicodeString>& names,
                            std::vector<TavUnicodeString>& kinds);
  // Replaces the feature's stored selection and saves the settings; false with a
  // message, the settings unchanged, when the lists cannot be written or saved.
  static bool SaveCheckList(const TavUnicodeString& feature, const std::vector<TavUnicodeString>& names,
                            const std::vector<TavUnicodeString>& kinds, std::string& problem);
};
