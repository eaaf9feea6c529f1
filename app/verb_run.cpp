// mirt run SCRIPT [--plant FILE]: runs a session script.
#include <filesystem>
#include <iostream>

#include "HostScript.h"
#include "Verbs.h"

namespace {
std::string g_script, g_plant;

int Run() {
  host::ScriptRunner runner(std::cout);
  // Files the script writes land in the working folder; files it reads are found beside it.
  runner.SetOutputDirectory(std::filesystem::current_path().string());
  if (!g_plant.empty()) {
    std::string err;
    if (!runner.Open(g_plant, &err)) throw mirt::VerbError(err);
  }
  if (!runner.RunFile(g_script)) {
    std::cout.flush();
    std::cerr << runner.Error() << '\n';
    return 1;
  }
  return 0;
}

}  // namespace

mirt::Verb mirt::RunVerb() {
  return mirt::Verb{"run", "Run a session script (see docs/script-language.md)", 10,
    [](CLI::App& sub) {
      sub.add_option("script", g_script, "The session script")->required()->check(CLI::ExistingFile);
      sub.add_option("--plant", g_plant, "A plant to open before the script runs")->check(CLI::ExistingFile);
    },
    Run};
}
