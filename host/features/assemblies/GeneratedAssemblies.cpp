// Assemblies for synthetic plants: benchmarks and `mirt generate --assemblies N`.
#include "MAVersions.h"

namespace host {

std::size_t AddGeneratedAssemblies(HostDocument& doc, std::size_t count) {
  HostMAVersions* store = MAVersionsOf(doc);
  std::vector<Ref<HostProduct>> products;
  for (auto& root : doc.Products().roots_) {
    products.push_back(root);
    for (auto& d : root->GetAllDescendants()) products.push_back(std::dynamic_pointer_cast<HostProduct>(d));
  }
  std::vector<Ref<HostAssembly>> made;
  made.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    auto a = doc.CreateAssembly({}, TavUnicodeString("GenAssy." + std::to_string(i + 1)), 1);
    if (!products.empty()) a->AppendNewPart(products[i % products.size()]);
    // Assembly i holds assemblies i/2 and i/3: a sub-assembly is shared by two or three
    // containers, and the containment is some twenty levels deep at 10^5.
    for (std::size_t sub : {i / 2, i / 3})
      if (i > 0 && sub < i && !a->HasPart(made[sub].get())) a->AppendNewPart(made[sub]);
    made.push_back(a);
  }
  // Every tenth was versioned, then produced outside: logged and really modified.
  if (store)
    for (std::size_t i = 0; i < made.size(); i += 10) {
      MARecord r;
      r.version = 1;
      r.last = store->Current(*made[i]);
      r.externallyProduced = true;
      store->PutLoaded(*made[i], std::move(r));
      store->AppendLoaded({made[i], TavModificationCode::ExternallyProduced, "externallyproduced", false});
    }
  return made.size();
}

}  // namespace host
