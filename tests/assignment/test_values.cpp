// Attribute values against their hub types, the magnitudes behind numbers, and the typed values written.
#include <gtest/gtest.h>

#include <cstdlib>

#include "TavAssignment.h"
#include "VekAttributesOnRelationDialog.h"

namespace {
using V = VekAttributesOnRelationDialog;

std::optional<EPPErrorTypes> Check(const char* value, const char* type) { return V::CheckValue(value, type); }

TEST(AttributeValues, EachHubTypeRefusesWithItsOwnError) {
  EXPECT_FALSE(Check("anything at all", "KwEPTypeString"));
  EXPECT_FALSE(Check("42", "KwEPTypeInteger"));
  EXPECT_EQ(Check("4.5", "KwEPTypeInteger"), EPP_DecodingMagnitudeUnitError);
  EXPECT_EQ(Check("3 apples", "KwEPTypeInteger"), EPP_DecodingMagnitudeUnitError);
  EXPECT_FALSE(Check("-12.25 mm", "KwEPTypeFloat"));
  EXPECT_EQ(Check("12,5", "KwEPTypeFloat"), EPP_DecodingMagnitudeUnitError);
  EXPECT_EQ(Check("maybe", "KwEPTypeBool"), EPP_AttributeNoBoolValueError);
  EXPECT_EQ(Check("2026-03-01", "KwEPTypeDate"), ERR_DateConversionError);
  // An empty value is no value: it passes and is not written.
  for (const char* t : {"KwEPTypeInteger", "KwEPTypeFloat", "KwEPTypeBool", "KwEPTypeDate"}) EXPECT_FALSE(Check("", t)) << t;
}

TEST(AttributeValues, BooleanWordsInAnyCaseAndWholeIntegers) {
  for (const char* w : {"TRUE", "false", "Yes", "no", "ja", "NEIN", "wahr", "Falsch", "ok", "KO", "1", "0", "-7", " +3 "})
    EXPECT_FALSE(Check(w, "KwEPTypeBool")) << w;
  // A number must be the whole text, not merely its start.
  for (const char* w : {"7 apples", "1.5", "y", "TRUEE", "0x1"}) EXPECT_EQ(Check(w, "KwEPTypeBool"), EPP_AttributeNoBoolValueError) << w;

  auto b = [](const char* v) { return std::get<bool>(*V::ConvertValue(v, "KwEPTypeBool")); };
  EXPECT_TRUE(b("wahr"));
  EXPECT_TRUE(b("ja"));
  EXPECT_TRUE(b("OK"));
  EXPECT_FALSE(b("ko"));
  EXPECT_FALSE(b("Nein"));
  EXPECT_TRUE(b("5"));  // a non-zero integer is true
  EXPECT_FALSE(b("0"));
}

TEST(AttributeValues, ConversionsGiveTheHubTypes) {
  EXPECT_EQ(std::get<std::int64_t>(*V::ConvertValue("2 min", "KwEPTypeInteger")), 120);
  EXPECT_DOUBLE_EQ(std::get<double>(*V::ConvertValue("0.5 kN", "KwEPTypeFloat")), 500);
  EXPECT_EQ(std::get<TavUnicodeString>(*V::ConvertValue("Left side", "KwEPTypeString")), "Left side");
  EXPECT_EQ(V::ConvertValue("12,5", "KwEPTypeFloat"), nullptr);
  EXPECT_EQ(V::ConvertValue("2026-03-01", "KwEPTypeDate"), nullptr);
  EXPECT_EQ(V::GetCorrespondingStringforDataType("KwEPTypeFloat"), "Real");
}

TEST(Magnitudes, UnitsConvertToTheBaseAndIntegersStayWhole) {
  std::int64_t i = 0;
  EXPECT_EQ(TavParmDictionary::DecodeInteger("+3", i), S_OK);
  EXPECT_EQ(i, 3);
  EXPECT_EQ(TavParmDictionary::DecodeInteger(" 2 cm ", i), S_OK);
  EXPECT_EQ(i, 20);  // millimetres
  EXPECT_EQ(TavParmDictionary::DecodeInteger("1h", i), S_OK);
  EXPECT_EQ(i, 3600);
  EXPECT_EQ(TavParmDictionary::DecodeInteger("2 in", i), E_FAIL);  // 50.8 mm is no integer
  EXPECT_EQ(TavParmDictionary::DecodeInteger("99999999999999999999", i), E_FAIL);
  EXPECT_EQ(TavParmDictionary::DecodeInteger("50000000000000 km", i), E_FAIL);  // past the integer range
  EXPECT_EQ(TavParmDictionary::DecodeInteger("3 parsecs", i), E_FAIL);
  EXPECT_EQ(TavParmDictionary::DecodeInteger("mm", i), E_FAIL);

  double d = 0;
  EXPECT_EQ(TavParmDictionary::DecodeReal("1 in", d), S_OK);
  EXPECT_DOUBLE_EQ(d, 25.4);
  EXPECT_EQ(TavParmDictionary::DecodeReal("1e3", d), S_OK);
  EXPECT_DOUBLE_EQ(d, 1000);
  EXPECT_EQ(TavParmDictionary::DecodeReal("12.5 N*m", d), S_OK);
  EXPECT_DOUBLE_EQ(d, 12.5);
  for (const char* bad : {"inf", "nan", "", "--1", "1e999", "1.5.2", "12 MM"}) EXPECT_EQ(TavParmDictionary::DecodeReal(bad, d), E_FAIL) << bad;
}

TEST(AttributeValues, ReplayModeReadsTheEnvironmentInAnyCase) {
  ::unsetenv("VEK_AttributeOnRelation_HUBODT_CMD");
  EXPECT_FALSE(V::IsODTReplay());
  for (const char* on : {"true", "TRUE", "True", "1"}) {
    ::setenv("VEK_AttributeOnRelation_HUBODT_CMD", on, 1);
    EXPECT_TRUE(V::IsODTReplay()) << on;
  }
  ::setenv("VEK_AttributeOnRelation_HUBODT_CMD", "yes", 1);
  EXPECT_FALSE(V::IsODTReplay());
  ::unsetenv("VEK_AttributeOnRelation_HUBODT_CMD");
}
}  // namespace
