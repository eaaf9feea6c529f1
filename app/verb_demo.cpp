// mirt demo [--out DIR]: a tour of the workbench on the bundled sample plant. Each
// step says in one line what it shows; every output lands in the output folder.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>

#include <httplib.h>

#include <thread>

#include "FileWriter.h"
#include "HostScript.h"
#include "Verbs.h"
#include "WebServer.h"

namespace {
namespace fs = std::filesystem;

std::string g_out = "out/demo";
std::string g_data = MIRT_DATA_DIR;

// Runs another verb of this program in-process with its output in a file, as a
// user would run `mirt VERB ARGS > FILE`.
int CaptureVerb(const std::string& name, std::vector<std::string> args, const fs::path& output) {
  auto& verbs = mirt::Verbs();
  auto v = std::find_if(verbs.begin(), verbs.end(), [&](const mirt::Verb& x) { return x.name == name; });
  if (v == verbs.end()) throw mirt::VerbError("this build has no verb '" + name + "'");
  CLI::App sub{v->description, name};
  v->setup(sub);
  std::reverse(args.begin(), args.end());  // CLI11 takes the words last first
  sub.parse(args);
  // The output is kept, then written through the one file writer like every file.
  std::ostringstream captured;
  std::streambuf* screen = std::cout.rdbuf(captured.rdbuf());
  int rc = 1;
  try {
    rc = v->run();
  } catch (...) {
    std::cout.rdbuf(screen);
    throw;
  }
  std::cout.rdbuf(screen);
  std::string error;
  if (!support::WriteFile(output, captured.str(), &error)) throw mirt::VerbError(error);
  return rc;
}

void Step(int n, const std::string& what) { std::cout << "\n[" << n << "] " << what << '\n'; }

int Demo() {
  std::error_code ec;
  fs::create_directories(g_out, ec);
  if (ec) throw mirt::VerbError("cannot create the output folder '" + g_out + "': " + ec.message());
  const fs::path data(g_data), out(g_out);
  // The tour keeps its settings and saved queries in its own folder, started afresh,
  // so that it runs the same every time and leaves the planner's own untouched.
  fs::remove_all(out / "config", ec);
  ::setenv("MIRT_CONFIG_DIR", (out / "config").c_str(), 1);
  const fs::path plant = data / "sample-plant.xml", rev2 = data / "sample-plant-rev2.xml";
  std::cout << "mirt demo: a tour of the workbench on " << plant.string() << "; outputs in " << g_out << '\n';

  Step(1, "A planner's session (data/demo.mirt): look at the line, renumber it, assign a part, save, compare two hub revisions.");
  {
    host::ScriptRunner runner(std::cout);
    runner.SetBaseDirectory(g_data);
    runner.SetOutputDirectory(g_out);
    if (!runner.RunFile((data / "demo.mirt").string())) {
      std::cout.flush();
      std::cerr << runner.Error() << '\n';
      return 1;
    }
  }

  Step(2, "Part consumption: which activities consume the doors and the brackets, their engineering-requirement states, as a table and the XML report.");
  int rc = CaptureVerb("consumption",
                   {(out / "renumbered-plant.xml").string(), "--product", "Products/BodyInWhite.1/Door.1",
                    "--product", "Products/BodyInWhite.1/Bracket.3", "--ei", "--xml", (out / "part-consumption.xml").string()},
                   out / "part-consumption.txt");
  if (rc != 0) return rc;
  std::cout << "    table: " << (out / "part-consumption.txt").string() << ", report: " << (out / "part-consumption.xml").string()
            << '\n';

  Step(3, "Comparison: what the second revision of the line added, removed and changed.");
  rc = CaptureVerb("compare", {plant.string(), rev2.string()}, out / "comparison.txt");
  if (rc != 0 && rc != 1) return rc;  // 1: the revisions differ, as they should
  std::cout << "    " << (out / "comparison.txt").string() << '\n';

  Step(4, "For other tools: the product sections of the two revisions compared, as JSON.");
  rc = CaptureVerb("compare", {plant.string(), rev2.string(), "--root", "Products", "--json"}, out / "comparison-products.json");
  if (rc != 0 && rc != 1) return rc;
  std::cout << "    " << (out / "comparison-products.json").string() << '\n';

  Step(5, "Gantt search in batch: the query saved in the search dialog, run again on the renumbered line.");
  rc = CaptureVerb("gantt-search", {(out / "renumbered-plant.xml").string(), "--saved", "Many spots", "--columns", "WeldSpots"},
                   out / "gantt-search.txt");
  if (rc != 0) return rc;
  std::cout << "    " << (out / "gantt-search.txt").string() << '\n';

  Step(6, "Manufactured assemblies and kits of the saved line, with the two the session made.");
  rc = CaptureVerb("assemblies", {(out / "renumbered-plant.xml").string(), "--list"}, out / "assemblies.txt");
  if (rc != 0) return rc;
  std::cout << "    " << (out / "assemblies.txt").string() << '\n';

  Step(7, "Graph windows in batch: the saved line timed from durations, flows and precedences, as a Gantt chart and a PERT chart.");
  rc = CaptureVerb("gantt", {(out / "renumbered-plant.xml").string(), "--svg", (out / "gantt.svg").string()}, out / "gantt.txt");
  if (rc != 0) return rc;
  rc = CaptureVerb("pert", {(out / "renumbered-plant.xml").string(), "--svg", (out / "pert.svg").string()}, out / "pert.txt");
  if (rc != 0) return rc;
  std::cout << "    schedule: " << (out / "gantt.txt").string() << ", pictures: " << (out / "gantt.svg").string() << ", "
            << (out / "pert.svg").string() << '\n';

  Step(8, "The workbench in a browser: `mirt serve` on the saved line, asked for the tree's first level and a search as its page asks; "
          "run `mirt serve " + plant.string() + "` and open the address it prints.");
  {
    mirt::web::WebSession session(out.string(), out.string());
    std::string error;
    if (!session.Open((out / "renumbered-plant.xml").string(), &error)) throw mirt::VerbError(error);
    mirt::web::WebServer server(session, {});
    if (!server.Bind(&error)) throw mirt::VerbError(error);
    std::thread serving([&] { server.Run(); });
    httplib::Client page("127.0.0.1", server.Port());
    page.set_default_headers({{"X-Mirt-Token", server.Token()}});
    auto tree = page.Get("/api/tree");
    auto search = page.Get("/api/search?q=door&limit=5");
    server.Stop();
    serving.join();
    if (!tree || !search || tree->status != 200 || search->status != 200) throw mirt::VerbError("the demo's server did not answer");
    const std::string answers = "{\"tree\": " + tree->body + ",\n \"search\": " + search->body + "}\n";
    if (!support::WriteFile(out / "serve.json", answers, &error)) throw mirt::VerbError(error);
    std::cout << "    " << (out / "serve.json").string() << '\n';
  }

  std::cout << "\nmirt demo: done; outputs:\n";
  std::vector<std::string> files;
  for (auto& e : fs::directory_iterator(g_out)) files.push_back(e.path().string());
  std::sort(files.begin(), files.end());
  for (auto& f : files) std::cout << "  " << f << '\n';
  return 0;
}

}  // namespace

mirt::Verb mirt::DemoVerb() {
  return mirt::Verb{"demo", "A tour of the workbench on the bundled sample plant; outputs in an output folder", 1,
    [](CLI::App& sub) {
      sub.add_option("--out", g_out, "Folder for the demo's outputs")->capture_default_str();
      sub.add_option("--data", g_data, "Folder holding demo.mirt and the sample plants")->capture_default_str();
    },
    Demo};
}
