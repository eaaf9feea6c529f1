// mirt serve [PLANT]: the workbench in the browser. One session of the host, the same
// the shell runs, behind a local HTTP server; the address printed carries the access
// token. Ctrl-C (or SIGTERM) stops it.
#include <pthread.h>
#include <spawn.h>

#include <csignal>
#include <filesystem>
#include <iostream>
#include <thread>

#include "Verbs.h"
#include "WebServer.h"

extern char** environ;

namespace {

struct Options {
  std::string plant, bind = "127.0.0.1", out = "out/serve";
  int port = 8080;
  bool open = false;
};
Options g;

int RunServe() {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::create_directories(g.out, ec);
  if (ec) throw mirt::VerbError("serve: cannot make the output folder " + g.out + ": " + ec.message());
  const std::string plantFolder = g.plant.empty() ? fs::current_path().string() : fs::absolute(g.plant).parent_path().string();
  mirt::web::WebSession session(plantFolder, fs::absolute(g.out).string());
  std::string err;
  if (!g.plant.empty() && !session.Open(g.plant, &err)) throw mirt::VerbError(err);

  // Signals go to one thread that stops the server; the server's threads never see them.
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGINT);
  sigaddset(&stop, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop, nullptr);

  mirt::web::WebServer server(session, {g.bind, g.port, {}, 64 * 1024});
  if (!server.Bind(&err)) throw mirt::VerbError("serve: " + err);
  std::cout << "mirt serve: the workbench is at " << server.Url() << "\n(Ctrl-C stops it)" << std::endl;
  if (g.open) {
    const std::string url = server.Url();
    char* argv[] = {const_cast<char*>("xdg-open"), const_cast<char*>(url.c_str()), nullptr};
    pid_t pid;
    if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ) != 0)
      std::cerr << "mirt serve: no browser could be opened (xdg-open); open the address above\n";
  }
  std::thread waiter([&] {
    int sig = 0;
    sigwait(&stop, &sig);
    server.Stop();
  });
  server.Run();
  // Stopped by other means than a signal: wake the waiter with one.
  pthread_kill(waiter.native_handle(), SIGTERM);
  waiter.join();
  std::cout << "mirt serve: stopped" << std::endl;
  return 0;
}

}  // namespace

mirt::Verb mirt::ServeVerb() {
  return mirt::Verb{"serve", "Work in the workbench from a web browser (a local server; the address carries an access token)", 12,
    [](CLI::App& sub) {
      sub.add_option("plant", g.plant, "A plant to open")->check(CLI::ExistingFile);
      sub.add_option("--port", g.port, "The port to listen on (0: any free one)")->capture_default_str()->check(CLI::Range(0, 65535));
      sub.add_option("--bind", g.bind, "The address to listen on")->capture_default_str();
      sub.add_option("--out", g.out, "Where reports and saved files go")->capture_default_str();
      sub.add_flag("--open", g.open, "Open the page in the desktop's browser");
    },
    RunServe};
}
