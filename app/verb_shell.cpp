// mirt shell [PLANT]: the script language, interactively.
#include <unistd.h>

#include <cstring>
#include <iostream>

#include "HostScript.h"
#include "Verbs.h"

#ifdef MIRT_HAVE_READLINE
#include <readline/history.h>
#include <readline/readline.h>
#endif

namespace {
std::string g_plant;

#ifdef MIRT_HAVE_READLINE
host::ScriptRunner* g_runner = nullptr;
std::vector<std::string> g_candidates;

char* Generate(const char* text, int state) {
  static std::size_t next;
  if (state == 0) next = 0;
  std::size_t len = std::strlen(text);
  while (next < g_candidates.size()) {
    const std::string& c = g_candidates[next++];
    if (c.compare(0, len, text) == 0) return strdup(c.c_str());
  }
  return nullptr;
}

char** Complete(const char* text, int start, int) {
  // The first word is a statement; later words are object paths (or anything).
  g_candidates = start == 0 ? host::ScriptRunner::Statements() : g_runner->ObjectPaths();
  if (start != 0)
    for (auto& w : {"dialog", "dialogs", "messages", "hso", "cso", "object", "tree", "command", "viewer"}) g_candidates.push_back(w);
  rl_attempted_completion_over = 1;
  return rl_completion_matches(text, Generate);
}
#endif

int Shell() {
  host::ScriptRunner runner(std::cout);
  if (!g_plant.empty()) {
    std::string err;
    if (!runner.Open(g_plant, &err)) throw mirt::VerbError(err);
    std::cout << "opened " << g_plant << '\n';
  }
  const bool tty = ::isatty(0);
  int n = 0;
  int failures = 0;
#ifdef MIRT_HAVE_READLINE
  g_runner = &runner;
  rl_attempted_completion_function = Complete;
  rl_completer_word_break_characters = const_cast<char*>(" \t\"");
#endif
  for (;;) {
    std::string line;
#ifdef MIRT_HAVE_READLINE
    if (tty) {
      char* l = readline("mirt> ");
      if (!l) break;
      line = l;
      if (*l) add_history(l);
      std::free(l);
    } else
#endif
    {
      if (tty) std::cout << "mirt> " << std::flush;
      if (!std::getline(std::cin, line)) break;
    }
    ++n;
    if (line == "quit" || line == "exit") break;
    if (line == "help") {
      std::cout << "statements:";
      for (auto& s : host::ScriptRunner::Statements()) std::cout << ' ' << s;
      std::cout << "\nsee docs/script-language.md; quit to leave\n";
      continue;
    }
    if (!runner.RunLine(line, "<shell>", n)) {
      ++failures;
      std::cout.flush();
      std::cerr << runner.Error() << '\n';
    }
  }
  // A piped session reports its failures in the exit code.
  return !tty && failures ? 1 : 0;
}

mirt::VerbRegistrar reg({"shell", "Work in the workbench interactively (the script language, with history and completion)", 11,
                         [](CLI::App& sub) { sub.add_option("plant", g_plant, "A plant to open")->check(CLI::ExistingFile); },
                         Shell});
}  // namespace
