#pragma once
// One session of the reference host driven from the browser: what the page shows
// (the session's state, the PPR tree by level, an object, the workbench's toolbars)
// as JSON, and the actions the page may take, each turned into one of the session's
// own statements. The host is single-threaded and the server is not: every call
// holds the session's lock.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>

#include "HostScript.h"

namespace mirt::web {

using Json = nlohmann::json;

// An answer to the page: an HTTP status (200; 400 for a request the page should not
// have made; 404 for an unknown object; 409 for an action the session refused) and a
// JSON body (`{"error": TEXT}` unless 200).
struct Answer {
  int status = 200;
  Json body;
};

class WebSession {
public:
  // Files the page may name live in these two folders only: the plant's and the output.
  WebSession(std::string plantFolder, std::string outputFolder);
  ~WebSession();
  WebSession(const WebSession&) = delete;
  WebSession& operator=(const WebSession&) = delete;

  // Opens a plant and enters the planner's workbench; false with a message.
  bool Open(const std::string& plant, std::string* error);

  Json State();
  // The children of the tree node at `path` ("" for the roots), `limit` from `offset`.
  Answer Tree(const std::string& path, std::size_t offset, std::size_t limit);
  // Nodes whose text holds `text` (case-insensitive), in tree order, at most `limit`.
  Answer Search(const std::string& text, std::size_t limit);
  // What `print object` shows.
  Answer Object(const std::string& path);
  Json Workbench();
  // A window's picture (a Gantt or PERT chart) as SVG: {"svg": TEXT}.
  Answer Picture(const std::string& window);
  // The files of one allowed folder ("plant" or "output").
  Answer Files(const std::string& folder);
  // The full path of a file the page named in an allowed folder; empty when the name
  // is no plain file name there (a path, "..", a link out of the folder).
  std::string AllowedFile(const std::string& folder, const std::string& name) const;
  // {"action": ..., ...}: pick, select, clear-selection, fire, start, set, push, notify,
  // answer, open (a plant of the allowed folders), undo, redo, save.
  Answer Act(const Json& action);

  // Modal boxes wait for the page's answer once a server serves the page; until then
  // (and without a page, as in the fuzz target) they take their default answer.
  void AnswerBoxesFromPage(bool on);

  // Counts the changes the page must redraw for; WaitForChange returns when it passes
  // `seen`, on Stop, or after `timeout`.
  std::uint64_t Generation();
  std::uint64_t WaitForChange(std::uint64_t seen, std::chrono::milliseconds timeout);
  // Wakes every waiter for good (the server stops).
  void Stop();
  bool Stopped();

private:
  class BoxHost;
  // Runs one statement; the output it printed, or false with the error.
  bool Run(const std::string& line, std::string& output, std::string& error);
  Json StateLocked();
  // A modal box shown by the statement running: the page is told, and the statement
  // waits (the lock given up) for the page's answer; none when the server stops.
  std::optional<std::string> AskPage(TavDlgNotify& box);

  std::mutex mutex_;
  std::condition_variable changed_;
  std::uint64_t generation_ = 1;
  bool stopped_ = false;
  std::string plantFolder_, outputFolder_, lastOutput_;
  std::ostringstream out_;
  host::ScriptRunner runner_{out_};
  std::unique_ptr<BoxHost> boxes_;
  bool askPage_ = false;
  std::unique_lock<std::mutex>* running_ = nullptr;  // the lock of the action running, while it runs
  std::optional<Json> blocked_;                      // the modal box waiting for the page
  std::optional<std::string> blockedAnswer_;
};

}  // namespace mirt::web
