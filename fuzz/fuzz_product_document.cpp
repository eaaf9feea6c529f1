// Product documents from arbitrary bytes: a document with one root product or one
// error naming its place, never a crash. A document that loads replaces a product of
// a small plant: the plant saves and loads again to the same bytes, and taking the
// change back gives the plant as it was.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "HostReplacement.h"
#include "HostUndo.h"
#include "PlantDocument.h"
#include "ProductDocument.h"
#include "Startup.h"
#include "XercesInit.h"

namespace {

const std::string kPlant = R"(<?xml version="1.0" encoding="UTF-8"?>
<plant format="1">
  <products>
    <product id="item" name="Item.1">
      <product id="door" name="Door.1"><product id="panel" name="Panel.1"/><product id="hinge" name="Hinge.1"/></product>
      <product id="door2" name="Door.2"/>
    </product>
  </products>
  <assemblies><assembly id="ma" name="DoorAssy" type="1"><part ref="panel"/></assembly></assemblies>
  <process id="proc" name="Process" type="Activity">
    <activity id="a1" name="Fit" type="PhysicalActivity">
      <relation type="process_processes_product" ref="door"/>
      <relation type="process_creates_product" ref="hinge"/>
    </activity>
  </process>
</plant>
)";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  mirt::StartUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  support::EnsureXerces();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::string error;
  auto product = host::ParseProductDocument(bytes, "fuzz.TavProduct", error);
  if (!product) {
    if (error.rfind("fuzz.TavProduct:", 0) != 0) std::abort();  // every failure names its place
    return 0;
  }
  if (product->Products().roots_.size() != 1 || !product->Process().roots_.empty() || !product->Resources().roots_.empty())
    std::abort();
  const std::string path = "/tmp/fuzz-product-" + std::to_string(::getpid()) + ".TavProduct";
  std::ofstream(path, std::ios::binary) << bytes;
  auto plant = host::ParsePlant(kPlant, "plant.xml", error);
  if (!plant) std::abort();
  const std::string before = host::SerializePlant(*plant);
  auto door = std::dynamic_pointer_cast<host::HostProduct>(plant->Resolve("Products/Item.1/Door.1").GetLeaf());
  plant->Journal().Begin();
  if (FAILED(host::ReplaceProductInstance(door->Father(), door, path, error))) std::abort();
  const std::string after = host::SerializePlant(*plant);
  auto again = host::ParsePlant(after, "again.xml", error);
  if (!again || host::SerializePlant(*again) != after) std::abort();
  if (!plant->Journal().Abort(&error) || host::SerializePlant(*plant) != before) std::abort();
  std::remove(path.c_str());
  return 0;
}
