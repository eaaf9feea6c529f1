// mirt generate: writes a synthetic plant of a given size, the same for the same options.
#include <iostream>

#include "PlantDocument.h"
#include "HostPositions.h"
#include "MAVersions.h"
#include "HostStates.h"
#include "PlantGenerator.h"
#include "Verbs.h"

namespace {

host::PlantSpec g_spec{.activities = 0, .products = 0, .resources = 10, .depth = 4, .seed = 1};
std::string g_out;
std::size_t g_statesEvery = 0, g_displacedEvery = 0, g_syncEvery = 0, g_assemblies = 0;

int Run() {
  Ref<host::HostDocument> doc = host::GeneratePlant(g_spec);
  const std::size_t states = host::AddGeneratedStates(*doc, g_statesEvery);
  const std::size_t displaced = host::AddGeneratedPlacements(*doc, g_displacedEvery);
  const std::size_t syncs = host::AddGeneratedSynchronisations(*doc, g_syncEvery);
  host::AddGeneratedAssemblies(*doc, g_assemblies);
  std::string error;
  if (!host::SavePlant(*doc, g_out, error)) throw mirt::VerbError(error);
  std::cout << "wrote " << g_out << ": " << g_spec.activities << " activities, " << g_spec.products << " products, "
            << g_spec.resources << " resources, " << doc->Assemblies().assemblies_.size() << " assemblies, " << states << " states";
  // The placements and synchronisations are named when asked for, so the default line stays as it was.
  if (g_displacedEvery) std::cout << ", " << displaced << " displaced";
  if (g_syncEvery) std::cout << ", " << syncs << " synchronisations";
  std::cout << " (depth " << g_spec.depth << ", seed " << g_spec.seed << ")\n";
  return 0;
}

}  // namespace

mirt::Verb mirt::GenerateVerb() {
  return mirt::Verb{
    "generate",
    "Write a synthetic plant of the given size (deterministic: same options, same file)",
    25,
    [](CLI::App& sub) {
      sub.add_option("--activities", g_spec.activities, "Activities in the process tree, the root process included")
          ->required()
          ->check(CLI::Range(std::size_t{0}, std::size_t{100000000}));
      sub.add_option("--products", g_spec.products, "Products in the product tree")
          ->required()
          ->check(CLI::Range(std::size_t{0}, std::size_t{100000000}));
      sub.add_option("--resources", g_spec.resources, "Resources: stations with robots, tools and workers")
          ->capture_default_str()
          ->check(CLI::Range(std::size_t{0}, std::size_t{100000000}));
      sub.add_option("--depth", g_spec.depth, "Deepest activity level below the root process")
          ->capture_default_str()
          ->check(CLI::Range(1, 100000));
      sub.add_option("--states-every", g_statesEvery,
                     "Give every Nth product and resource stored positions and states \"Open\" and \"Closed\" (0: none)")
          ->capture_default_str();
      sub.add_option("--displaced-every", g_displacedEvery,
                     "Place every product and resource where its design puts it, and move every Nth away (0: no placements)")
          ->capture_default_str();
      sub.add_option("--sync-every", g_syncEvery,
                     "Synchronise every Nth pair of neighbouring sibling activities, start-start and end-end in turn, "
                     "unless one runs after the other (0: none)")
          ->capture_default_str();
      sub.add_option("--assemblies", g_assemblies,
                     "Add N assemblies sharing sub-assemblies, every tenth changed since its version 1 (0: none)")
          ->capture_default_str()
          ->check(CLI::Range(std::size_t{0}, std::size_t{10000000}));
      sub.add_option("--seed", g_spec.seed, "Seed of the generator")->capture_default_str();
      sub.add_option("-o,--output", g_out, "The plant file to write (replaced atomically)")->required();
    },
    Run,
};
}
