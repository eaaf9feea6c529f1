#pragma once
// Plants given as text in a test, loaded as "t.xml": the document, or the one error.
#include <gtest/gtest.h>

#include <string>

#include "PlantDocument.h"

inline Ref<host::HostDocument> LoadPlantText(const std::string& text) {
  std::string error;
  auto doc = host::ParsePlant(text, "t.xml", error);
  EXPECT_TRUE(doc) << error;
  return doc;
}

inline std::string PlantTextError(const std::string& text) {
  std::string error;
  EXPECT_FALSE(host::ParsePlant(text, "t.xml", error));
  return error;
}

// The text with the first occurrence of `from` replaced (a variant of a plant in a
// test); a failure when `from` is not there.
inline std::string ReplaceOnce(std::string s, const std::string& from, const std::string& to) {
  auto at = s.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) s.replace(at, from.size(), to);
  return s;
}
