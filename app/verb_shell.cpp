// mirt shell [PLANT]: the script language, interactively. On a terminal it edits
// lines with history (kept in the configuration folder) and completion from the
// statement table; Ctrl-C drops the line being typed, or on an empty line cancels
// the running command, and never ends the shell. Piped input runs like a script
// whose failures do not stop it; the exit code then says whether any failed.
#include <sys/select.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "FileWriter.h"
#include "HostScript.h"
#include "Verbs.h"

#ifdef MIRT_HAVE_READLINE
#include <readline/history.h>
#include <readline/readline.h>
#endif

namespace {
std::string g_plant;

struct Shell {
  host::ScriptRunner runner{std::cout};
  int line = 0;
  int failures = 0;
  bool done = false;

  std::string Prompt() {
    std::string waits = runner.WaitingFor();
    return waits.empty() ? "mirt> " : "mirt (" + waits + ")> ";
  }

  void Run(const std::string& text) {
    ++line;
    if (!runner.RunLine(text, "<shell>", line)) {
      ++failures;
      std::cout.flush();
      std::cerr << runner.Error() << '\n';
    }
    if (runner.QuitRequested()) done = true;
  }
};

#ifdef MIRT_HAVE_READLINE
Shell* g_shell = nullptr;
volatile std::sig_atomic_t g_interrupted = 0;

void OnInterrupt(int) { g_interrupted = 1; }

// Tab: the statement table decides what the word under the cursor can be.
int CompleteKey(int, int) {
  host::CompletionModel model = g_shell->runner.Completions();
  host::Completion c = host::Complete(model, rl_line_buffer, static_cast<std::size_t>(rl_point));
  if (c.total == 0) {
    rl_ding();
    return 0;
  }
  auto replace = [&](const std::string& text) {
    rl_begin_undo_group();
    rl_delete_text(static_cast<int>(c.from), static_cast<int>(c.to));
    rl_point = static_cast<int>(c.from);
    rl_insert_text(text.c_str());
    rl_end_undo_group();
  };
  if (c.total == 1) {
    replace(c.Insertion(c.candidates.front()));
    return 0;
  }
  const std::string common = c.CommonInsertion();
  const std::string typed(rl_line_buffer + c.from, rl_line_buffer + c.to);
  if (common.size() > typed.size()) {
    replace(common);
    return 0;
  }
  // No progress: show what matches, at most the model's limit.
  std::cout << '\n';
  std::size_t width = 0;
  for (auto& cand : c.candidates) width = std::max(width, cand.display.size());
  const std::size_t perLine = std::max<std::size_t>(1, 80 / (width + 2));
  for (std::size_t i = 0; i < c.candidates.size(); ++i) {
    const std::string& d = c.candidates[i].display;
    std::cout << d << ((i + 1) % perLine == 0 || i + 1 == c.candidates.size() ? "\n" : std::string(width + 2 - d.size(), ' '));
  }
  if (c.total > c.candidates.size())
    std::cout << "... and " << c.total - c.candidates.size() << " more: type more letters\n";
  std::cout.flush();
  rl_on_new_line();
  return 0;
}

// Readline hands the terminal back before it calls OnLine, so the answer is a
// plain line. Ctrl-C or Ctrl-D there keeps the plant open: nothing is lost.
host::ScriptRunner::Unsaved AskUnsaved(const std::string& plant) {
  using Unsaved = host::ScriptRunner::Unsaved;
  // The question is asked while a line is handled, with SIGINT held: let it in,
  // so that Ctrl-C ends the read.
  sigset_t interrupt, held;
  sigemptyset(&interrupt);
  sigaddset(&interrupt, SIGINT);
  for (;;) {
    std::cout << "'" << plant << "' has unsaved changes: save (s), discard (d) or go on working (c)? " << std::flush;
    std::string answer;
    pthread_sigmask(SIG_UNBLOCK, &interrupt, &held);
    const bool read = static_cast<bool>(std::getline(std::cin, answer));
    pthread_sigmask(SIG_SETMASK, &held, nullptr);
    if (!read) {
      std::cin.clear();
      g_interrupted = 0;
      std::cout << '\n';
      return Unsaved::Keep;
    }
    if (answer == "s" || answer == "save") return Unsaved::Save;
    if (answer == "d" || answer == "discard") return Unsaved::Discard;
    if (answer == "c" || answer == "cancel") return Unsaved::Keep;
  }
}

void OnLine(char* text) {
  if (!text) {  // Ctrl-D: as quit, so unsaved changes are asked about first
    std::cout << "quit\n";
    g_shell->Run("quit");
    if (!g_shell->done) rl_set_prompt(g_shell->Prompt().c_str());
    return;
  }
  std::string l = text;
  std::free(text);
  if (!l.empty()) add_history(l.c_str());
  g_shell->Run(l);
  if (!g_shell->done) rl_set_prompt(g_shell->Prompt().c_str());
}

void Interrupted() {
  g_interrupted = 0;
  const bool emptyLine = rl_end == 0;
  rl_replace_line("", 0);
  std::cout << "^C\n";
  if (emptyLine && g_shell->runner.Engine().RunningCommand()) {
    std::string err;
    g_shell->runner.Engine().Cancel(&err);
  }
  rl_set_prompt(g_shell->Prompt().c_str());
  rl_on_new_line();
  rl_redisplay();
}

void Interactive(Shell& shell) {
  g_shell = &shell;
  shell.runner.SetUnsavedQuestion(AskUnsaved);
  const std::string history = (host::ConfigDir() / "shell_history").string();
  using_history();
  stifle_history(1000);
  read_history(history.c_str());
  rl_catch_signals = 0;
  struct sigaction sa{};
  sa.sa_handler = OnInterrupt;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);  // no SA_RESTART: pselect and reads return at once
  // SIGINT is held while a key or a line is handled and let in only while pselect
  // waits: one that comes in between stays pending and ends the wait at once,
  // where a flag checked after a plain select would be missed until the next key.
  // The wait lets it in even when a parent handed it over blocked (CI runners).
  sigset_t interrupt, before, waiting;
  sigemptyset(&interrupt);
  sigaddset(&interrupt, SIGINT);
  pthread_sigmask(SIG_BLOCK, &interrupt, &before);
  waiting = before;
  sigdelset(&waiting, SIGINT);
  rl_bind_key('\t', CompleteKey);
  rl_callback_handler_install(shell.Prompt().c_str(), OnLine);
  while (!shell.done) {
    fd_set in;
    FD_ZERO(&in);
    FD_SET(STDIN_FILENO, &in);
    int r = pselect(STDIN_FILENO + 1, &in, nullptr, nullptr, nullptr, &waiting);
    if (g_interrupted) {
      Interrupted();
      continue;
    }
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) break;
    rl_callback_read_char();
  }
  rl_callback_handler_remove();
  std::error_code ec;
  std::filesystem::create_directories(host::ConfigDir(), ec);
  // Through the file writer, as every file: a full disk or a signal never leaves a
  // truncated history behind.
  std::string lines;
  if (HIST_ENTRY** list = history_list())
    for (; *list; ++list) (lines += (*list)->line) += '\n';
  std::string err;
  if (!support::WriteFile(history, lines, &err)) std::cerr << "mirt shell: the history was not kept: " << err << '\n';
  signal(SIGINT, SIG_DFL);
  pthread_sigmask(SIG_SETMASK, &before, nullptr);
}
#endif

int RunShell() {
  Shell shell;
  if (!g_plant.empty()) {
    std::string err;
    if (!shell.runner.Open(g_plant, &err)) throw mirt::VerbError(err);
    std::cout << "opened " << g_plant << '\n';
  }
  const bool tty = ::isatty(0) && ::isatty(1);
#ifdef MIRT_HAVE_READLINE
  if (tty) {
    std::cout << "mirt shell: help lists the statements, Tab completes, quit or Ctrl-D leaves\n";
    Interactive(shell);
    return 0;
  }
#endif
  std::string text;
  while (!shell.done) {
    if (tty) std::cout << shell.Prompt() << std::flush;
    if (!std::getline(std::cin, text)) {
      // The input ended without a quit: unsaved changes are lost, and the exit says so.
      shell.Run("quit");
      break;
    }
    shell.Run(text);
  }
  // A piped session reports its failures in the exit code.
  return !tty && shell.failures ? 1 : 0;
}

}  // namespace

mirt::Verb mirt::ShellVerb() {
  return mirt::Verb{"shell", "Work in the workbench interactively (the script language, with history and completion)", 11,
    [](CLI::App& sub) { sub.add_option("plant", g_plant, "A plant to open")->check(CLI::ExistingFile); },
    RunShell};
}
