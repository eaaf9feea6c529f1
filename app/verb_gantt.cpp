// mirt gantt PLANT ...: placeholder until the graph windows land.
#include "Verbs.h"

mirt::Verb mirt::GanttVerb() {
  return mirt::Verb{"gantt", "(not built yet)", 41, [](CLI::App& sub) { sub.group(""); }, [] { return 1; }};
}
