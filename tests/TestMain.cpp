// The main of every unit test: the program's start-up, then the tests.
#include <gtest/gtest.h>

#include "Startup.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  mirt::StartUp();
  return RUN_ALL_TESTS();
}
