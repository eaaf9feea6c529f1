// mirt: the process-planning workbench's command-line program.
#include <algorithm>
#include <cstring>
#include <iostream>

#include "ScriptTable.h"
#include "Startup.h"
#include "StreamWatch.h"
#include "Verbs.h"

namespace mirt {
std::vector<Verb>& Verbs() {
  static std::vector<Verb> v = [] {
    std::vector<Verb> all{AddActivityVerb(), AssembliesVerb(), CheckVerb(), CompareVerb(), ConsumptionVerb(), CopyProcessVerb(), CopyResourceVerb(),
                          CreateResourceVerb(), DeleteResourceVerb(), DemoVerb(), GanttSearchVerb(), GanttVerb(), PertVerb(), GenerateVerb(), ImportVerb(), PrecedenceVerb(), RelatedVerb(),
                          RenumberVerb(), ReplacePartVerb(), ReplaceProductVerb(), ReplaceResourceVerb(), RestoreVerb(), RunVerb(), ServeVerb(), SettingsVerb(), ShellVerb(),
                          StatesVerb(),     SyncVerb(),       UnassignVerb(),   WorkbenchVerb()};
    std::sort(all.begin(), all.end(), [](auto& a, auto& b) { return a.order < b.order || (a.order == b.order && a.name < b.name); });
    return all;
  }();
  return v;
}
}  // namespace mirt

int main(int argc, char** argv) {
  CLI::App app{"mirt - process planning workbench: build, check and report on a PPR plant model"};
  app.require_subcommand(1);
  app.set_version_flag("--version", "mirt 0.1");
  auto& verbs = mirt::Verbs();
  std::vector<std::pair<CLI::App*, mirt::Verb*>> subs;
  for (auto& v : verbs) {
    CLI::App* sub = app.add_subcommand(v.name, v.description);
    v.setup(*sub);
    subs.emplace_back(sub, &v);
  }
  try {
    app.parse(argc, argv);
    mirt::StartUp();
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);  // --help, --version
    // A bad command line is an error like any other: one line naming the verb, and
    // the verb's failure code (compare's 2, as its 1 means "different").
    mirt::Verb* verb = nullptr;
    for (auto& [sub, v] : subs)
      if (sub->parsed()) verb = v;
    for (int i = 1; !verb && i < argc; ++i)
      for (auto& [sub, v] : subs)
        if (v->name == argv[i]) verb = v;
    if (!verb) {
      // A first word that is no option was meant as a verb: name it and the nearest ones.
      if (argc > 1 && argv[1][0] != '-') {
        std::vector<std::string> names;
        for (auto& v : verbs) names.push_back(v.name);
        std::cerr << "mirt: no verb '" << argv[1] << "'" << host::DidYouMean(argv[1], names) << " (see mirt --help)\n";
      } else {
        std::cerr << "mirt: " << e.what() << " (see mirt --help)\n";
      }
      return 2;
    }
    std::cerr << "mirt " << verb->name << ": " << e.what() << " (see mirt " << verb->name << " --help)\n";
    return verb->trouble;
  }
  for (auto& [sub, v] : subs) {
    if (!sub->parsed()) continue;
    try {
      // Output the user cannot get is a failure like any other: a full disk or a
      // closed pipe behind standard output must not end in exit 0.
      support::StreamWatch out(std::cout);
      const int rc = v->run();
      if (const int error = out.Finish()) {
        std::cerr << "mirt " << v->name << ": standard output: " << std::strerror(error) << '\n';
        return v->trouble;
      }
      return rc;
    } catch (const mirt::VerbError& e) {
      std::cerr << "mirt " << v->name << ": " << e.what() << '\n';
      return v->trouble;
    } catch (const std::exception& e) {
      std::cerr << "mirt " << v->name << ": internal error: " << e.what() << '\n';
      return 3;
    }
  }
  return 2;
}
