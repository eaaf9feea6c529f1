// mirt pert PLANT ...: placeholder until the graph windows land.
#include "Verbs.h"

mirt::Verb mirt::PertVerb() {
  return mirt::Verb{"pert", "(not built yet)", 42, [](CLI::App& sub) { sub.group(""); }, [] { return 1; }};
}
