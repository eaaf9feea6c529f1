// Object paths from arbitrary bytes, resolved on a small fixed plant with a wide
// level (many children of one product), a deep one (a long activity chain) and
// states and stored positions under their owners.
// Never a crash; what a path finds prints as a path that finds the same object.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "PlantDocument.h"
#include "Startup.h"
#include "XercesInit.h"

namespace {

Ref<host::HostDocument> g_plant;

std::string FixedPlant() {
  std::string x = "<plant format=\"1\"><products><product id=\"wide\" name=\"Wide.1\">";
  for (int i = 0; i < 300; ++i)
    x += "<product id=\"w" + std::to_string(i) + "\" name=\"Part." + std::to_string(i % 250) + "\"/>";
  // A product named like a state path, beside the states of its father.
  x += "<product id=\"slash\" name=\"a/b\\c\"/><product id=\"trick\" name=\"state:Open\"/></product></products>"
       "<resources><resource id=\"r\" name=\"Station.1\"/></resources><process id=\"root\" name=\"Line\">";
  for (int i = 0; i < 60; ++i) x += "<activity id=\"d" + std::to_string(i) + "\" name=\"Step." + std::to_string(i % 3) + "\">";
  for (int i = 0; i < 60; ++i) x += "</activity>";
  // Siblings with control-flow links, one of them labelled like a link.
  x += "<activity id=\"s1\" name=\"Load\"/><activity id=\"s2\" name=\"Load -> Weld\"/><activity id=\"s3\" name=\"Weld\"/>";
  x += "</process><links><flow from=\"s1\" to=\"s3\"/><flow id=\"fl\" from=\"s3\" to=\"s2\"/></links>";
  return x + "<states><storedPosition id=\"q1\" product=\"wide\" name=\"Open\" matrix=\"1 0 0 0 1 0 0 0 1 0 0 0\"/>"
             "<state id=\"st1\" owner=\"wide\" name=\"Open\"><uses ref=\"q1\"/></state>"
             "<state id=\"st2\" owner=\"slash\" name=\"x/y\"/><state id=\"st3\" owner=\"r\" name=\"Open\"/></states></plant>";
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  mirt::StartUp();
  support::EnsureXerces();
  std::string error;
  g_plant = host::ParsePlant(FixedPlant(), "fixed.xml", error);
  if (!g_plant) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view path(reinterpret_cast<const char*>(data), size);
  const TavPathElement found = g_plant->Resolve(path);
  if (found.IsEmpty()) return 0;
  const Ref<TavBaseUnknown> leaf = found.GetLeaf();
  const std::string printed = g_plant->PathString(leaf);
  if (printed.empty()) std::abort();
  // An id may name the second of two equal names, which a path cannot reach.
  if (path[0] != '#' && g_plant->Resolve(printed).GetLeaf() != leaf) std::abort();
  return 0;
}
