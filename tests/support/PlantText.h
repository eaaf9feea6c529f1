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
