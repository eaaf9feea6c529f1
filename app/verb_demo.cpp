// mirt demo [--out DIR]: the bundled demo session on the bundled sample plant.
#include <filesystem>
#include <iostream>

#include "HostScript.h"
#include "Verbs.h"

namespace {
std::string g_out = "out/demo";
std::string g_data = MIRT_DATA_DIR;

int Demo() {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::create_directories(g_out, ec);
  if (ec) throw mirt::VerbError("cannot create the output folder '" + g_out + "': " + ec.message());
  const fs::path script = fs::path(g_data) / "demo.mirt";
  std::cout << "mirt demo: running " << script.string() << " on " << (fs::path(g_data) / "sample-plant.xml").string()
            << ", outputs in " << g_out << "\n\n";
  host::ScriptRunner runner(std::cout);
  runner.SetBaseDirectory(g_data);
  runner.SetOutputDirectory(g_out);
  if (!runner.RunFile(script.string())) {
    std::cout.flush();
    std::cerr << runner.Error() << '\n';
    return 1;
  }
  std::cout << "\nmirt demo: done; outputs:\n";
  for (auto& e : fs::directory_iterator(g_out)) std::cout << "  " << e.path().string() << '\n';
  return 0;
}

mirt::VerbRegistrar reg({"demo", "Run the bundled demo session on the bundled sample plant", 1,
                         [](CLI::App& sub) {
                           sub.add_option("--out", g_out, "Folder for the demo's outputs")->capture_default_str();
                           sub.add_option("--data", g_data, "Folder holding demo.mirt and sample-plant.xml")->capture_default_str();
                         },
                         Demo});
}  // namespace
