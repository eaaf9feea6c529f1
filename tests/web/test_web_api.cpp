// The browser front end's server, spoken to as the page and as an attacker would:
// every endpoint, and every request it must refuse with the session left as it was.
#include <gtest/gtest.h>
#include <httplib.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include <unistd.h>

#include "WebServer.h"

namespace {

namespace fs = std::filesystem;
using mirt::web::Json;

std::string Encode(const std::string& s) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : s)
    if (std::isalnum(c)) out += static_cast<char>(c);
    else (out += '%') += std::string{hex[c >> 4], hex[c & 15]};
  return out;
}

struct Web : ::testing::Test {
  fs::path dir = fs::temp_directory_path() / ("mirt-web-" + std::to_string(::getpid()) + "-" +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::unique_ptr<mirt::web::WebSession> session;
  std::unique_ptr<mirt::web::WebServer> server;
  std::thread thread;
  std::unique_ptr<httplib::Client> client;
  std::string token;

  void SetUp() override {
    fs::remove_all(dir);
    fs::create_directories(dir / "out");
    fs::copy_file(fs::path(MIRT_DATA_DIR) / "sample-plant.xml", dir / "plant.xml");
    session = std::make_unique<mirt::web::WebSession>(dir.string(), (dir / "out").string());
    std::string err;
    ASSERT_TRUE(session->Open((dir / "plant.xml").string(), &err)) << err;
    server = std::make_unique<mirt::web::WebServer>(*session, mirt::web::ServerOptions{"127.0.0.1", 0, "", 4096});
    ASSERT_TRUE(server->Bind(&err)) << err;
    token = server->Token();
    thread = std::thread([this] { server->Run(); });
    client = std::make_unique<httplib::Client>("127.0.0.1", server->Port());
    client->set_default_headers({{"X-Mirt-Token", token}});
  }
  void TearDown() override {
    server->Stop();
    if (thread.joinable()) thread.join();
    fs::remove_all(dir);
  }

  Json Get(const std::string& path, int status = 200) {
    auto res = client->Get(path);
    EXPECT_TRUE(res);
    if (!res) return {};
    EXPECT_EQ(res->status, status) << path << ": " << res->body;
    EXPECT_FALSE(res->has_header("Access-Control-Allow-Origin"));
    return Json::parse(res->body, nullptr, false);
  }
  Json Act(const Json& action, int status = 200) {
    auto res = client->Post("/api/action", action.dump(), "application/json");
    EXPECT_TRUE(res);
    if (!res) return {};
    EXPECT_EQ(res->status, status) << action.dump() << ": " << res->body;
    return Json::parse(res->body, nullptr, false);
  }
  std::string Header(const std::string& containing) {
    const Json wb = Get("/api/workbench");
    for (auto& t : wb["toolbars"])
      for (auto& h : t["headers"])
        if (h["id"].get<std::string>().find(containing) != std::string::npos) return h["id"];
    return {};
  }
};

TEST_F(Web, RequestsWithoutTheTokenOrForAnotherHostAreRefusedAndChangeNothing) {
  const auto before = session->Generation();
  httplib::Client bare("127.0.0.1", server->Port());
  for (const char* path : {"/", "/api/state", "/api/tree", "/api/events"}) {
    auto res = bare.Get(path);
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 401) << path;
  }
  auto wrong = bare.Get("/api/state?token=" + std::string(token.size(), '0'));
  ASSERT_TRUE(wrong);
  EXPECT_EQ(wrong->status, 401);
  auto post = bare.Post("/api/action", R"({"action":"undo"})", "application/json");
  ASSERT_TRUE(post);
  EXPECT_EQ(post->status, 401);
  // DNS rebinding: a page of evil.example whose name now points here.
  auto rebound = client->Get("/api/state", {{"Host", "evil.example:" + std::to_string(server->Port())}});
  ASSERT_TRUE(rebound);
  EXPECT_EQ(rebound->status, 421);
  auto local = client->Get("/api/state", {{"Host", "localhost:" + std::to_string(server->Port())}});
  ASSERT_TRUE(local);
  EXPECT_EQ(local->status, 200);
  EXPECT_EQ(session->Generation(), before);
}

TEST_F(Web, BadBodiesAndActionsAreClearClientErrors) {
  const auto before = session->Generation();
  auto big = client->Post("/api/action", std::string(5000, ' '), "application/json");
  ASSERT_TRUE(big);
  EXPECT_EQ(big->status, 413);
  auto text = client->Post("/api/action", "undo", "text/plain");
  ASSERT_TRUE(text);
  EXPECT_EQ(text->status, 415);
  auto broken = client->Post("/api/action", "{\"action\":", "application/json");
  ASSERT_TRUE(broken);
  EXPECT_EQ(broken->status, 400);
  for (const Json& a : {Json::array(), Json{{"action", "quit"}}, Json{{"action", "env"}, {"name", "X"}}, Json{{"action", 3}},
                        Json{{"action", "pick"}}, Json{{"action", "pick"}, {"path", "Products\nquit"}},
                        Json{{"action", "push"}, {"widget", "A B"}}, Json{{"action", "fire"}, {"header", "x;y"}},
                        Json{{"action", "notify"}, {"widget", "D"}, {"notification", "explode"}},
                        Json{{"action", "answer"}, {"answer", "maybe"}}}) {
    Json answer = Act(a, 400);
    EXPECT_TRUE(answer.contains("error")) << a.dump();
  }
  EXPECT_EQ(session->Generation(), before);
  // An event no state waits for: the session says why, and nothing changed.
  Json refused = Act({{"action", "pick"}, {"path", "Products"}}, 409);
  EXPECT_FALSE(refused["error"].get<std::string>().empty());
  EXPECT_FALSE(Get("/api/state")["modified"].get<bool>());
}

TEST_F(Web, FilesStayInsideThePlantAndOutputFolders) {
  std::ofstream(dir / "out" / "report.txt") << "done\n";
  fs::create_directories(dir / "secret");
  std::ofstream(dir / "secret" / "key.txt") << "no\n";
  fs::create_symlink(dir / "secret" / "key.txt", dir / "out" / "link.txt");
  Json files = Get("/api/files?folder=output");
  EXPECT_EQ(files["files"], Json::array({"report.txt"}));  // the link out of the folder is not listed
  EXPECT_NE(Get("/api/files?folder=plant")["files"].dump().find("plant.xml"), std::string::npos);
  Get("/api/files?folder=/etc", 400);
  auto ok = client->Get("/api/download?name=report.txt");
  ASSERT_TRUE(ok);
  EXPECT_EQ(ok->status, 200);
  EXPECT_EQ(ok->body, "done\n");
  for (const char* name : {"../plant.xml", "%2Fetc%2Fpasswd", "link.txt", "..", "secret/key.txt"}) {
    auto res = client->Get(std::string("/api/download?name=") + name);
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 404) << name;
  }
  for (const char* name : {"../secret/key.txt", "/etc/passwd", "link.txt"})
    Act({{"action", "answer"}, {"answer", "open"}, {"folder", "output"}, {"name", name}}, 403);
  Act({{"action", "answer"}, {"answer", "file"}, {"folder", "plant"}, {"name", "plant.xml"}}, 403);
  Act({{"action", "open"}, {"folder", "plant"}, {"name", "../plant.xml"}}, 403);
  fs::copy_file(fs::path(MIRT_DATA_DIR) / "sample-plant-rev2.xml", dir / "rev2.xml");
  Act({{"action", "open"}, {"folder", "plant"}, {"name", "rev2.xml"}});
  EXPECT_FALSE(Get("/api/tree")["nodes"].empty());
}

TEST_F(Web, ThePageTheTreeSearchAndTheInspector) {
  auto page = client->Get("/");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  EXPECT_NE(page->body.find("EventSource"), std::string::npos);  // the script is in the page
  EXPECT_EQ(page->body.find("/*APP_JS*/"), std::string::npos);
  EXPECT_TRUE(page->has_header("Content-Security-Policy"));

  Json roots = Get("/api/tree");
  std::vector<std::string> texts;
  for (auto& n : roots["nodes"]) texts.push_back(n["text"]);
  ASSERT_GE(texts.size(), 4u);
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Products"), texts.end()) << roots.dump();
  std::string products;
  for (auto& n : roots["nodes"])
    if (n["text"] == "Products") products = n["path"];
  Json level = Get("/api/tree?path=" + Encode(products) + "&limit=1");
  EXPECT_EQ(level["nodes"].size(), 1u);
  EXPECT_GE(level["total"].get<int>(), 1);
  const std::string first = level["nodes"][0]["path"];
  Json next = Get("/api/tree?path=" + Encode(products) + "&offset=1&limit=1");
  if (level["total"].get<int>() > 1) {
    EXPECT_NE(next["nodes"][0]["path"], first);
  }
  Get("/api/tree?path=Products/Nothing.9", 404);

  Json hits = Get("/api/search?q=door");
  ASSERT_FALSE(hits["nodes"].empty());
  std::string door;
  for (auto& n : hits["nodes"]) {
    EXPECT_NE(n["text"].get<std::string>().find("oor"), std::string::npos) << n.dump();  // "Door", "door"
    if (door.empty() && n["kind"] == "product") door = n["path"];
  }
  ASSERT_NE(door.find("Products/"), std::string::npos) << hits.dump();
  Get("/api/search?q=", 400);
  Json object = Get("/api/object?path=" + Encode(door));
  EXPECT_NE(object["text"].get<std::string>().find("Door"), std::string::npos);
  Get("/api/object?path=Products/Nothing.9", 404);

  // A click with no command waiting selects, and the tree shows it.
  Act({{"action", "select"}, {"path", door}});
  EXPECT_EQ(Get("/api/state")["cso"], Json::array({door}));
}

TEST_F(Web, AToolbarCommandItsDialogUndoAndSave) {
  Json wb = Get("/api/workbench");
  EXPECT_EQ(wb["workbench"], "Mirt");
  ASSERT_FALSE(wb["toolbars"].empty());
  EXPECT_FALSE(Header("ReplaceParts").empty()) << wb.dump();
  // Renumbering is on no toolbar of this workbench: the page starts it from the list
  // of commands.
  bool listed = false;
  for (auto& c : wb["commands"]) listed |= c["class"] == "TavVekRenumberActCmd";
  ASSERT_TRUE(listed) << wb["commands"].dump();
  const auto before = session->Generation();
  Act({{"action", "start"}, {"module", "OrvVekPlanner"}, {"class", "TavVekRenumberActCmd"}});
  Json state = Get("/api/state");
  EXPECT_GT(state["generation"].get<std::uint64_t>(), before);
  EXPECT_TRUE(state["modified"].get<bool>());
  EXPECT_TRUE(state["canUndo"].get<bool>());
  Act({{"action", "undo"}});
  state = Get("/api/state");
  EXPECT_FALSE(state["modified"].get<bool>());
  EXPECT_TRUE(state["canRedo"].get<bool>());
  Act({{"action", "redo"}});
  const auto saved = fs::last_write_time(dir / "plant.xml");
  Act({{"action", "save"}});
  EXPECT_FALSE(Get("/api/state")["modified"].get<bool>());
  EXPECT_NE(fs::last_write_time(dir / "plant.xml"), saved);
  Act({{"action", "fire"}, {"header", "NoSuchHdr"}}, 409);
  Act({{"action", "start"}, {"module", "OrvVekPlanner"}, {"class", "No Such"}}, 400);
}

TEST_F(Web, DialogsArriveAsWidgetTreesAndTakeTheScriptsEvents) {
  Act({{"action", "start"}, {"module", "OrvVekPlanner"}, {"class", "OrvVekMAVersioningCmd"}});
  Json state = Get("/api/state");
  EXPECT_EQ(state["command"], "OrvVekMAVersioningCmd");
  ASSERT_EQ(state["dialogs"].size(), 1u) << state.dump();
  const Json& dialog = state["dialogs"][0];
  EXPECT_EQ(dialog["name"], "OrvVekMAVersioningDlg");
  const Json& frame = dialog["children"][0];
  EXPECT_EQ(frame["kind"], "frame");
  EXPECT_EQ(frame["children"][0]["rows"], Json::array({Json::array({"DoorAssy.1"})}));
  EXPECT_EQ(frame["children"][0]["selected"], Json::array({0}));
  EXPECT_EQ(frame["children"][1]["value"], "checked");
  // The page names the first of the two boxes through its frame; the change comes back.
  Act({{"action", "set"}, {"widget", "OrvVekMAVersioningDlg.Frame1.AllSelectCB"}, {"value", "unchecked"}});
  state = Get("/api/state");
  EXPECT_EQ(state["dialogs"][0]["children"][0]["children"][1]["value"], "unchecked");
  Act({{"action", "set"}, {"widget", "OrvVekMAVersioningDlg.NoSuchBox"}, {"value", "checked"}}, 409);
  Act({{"action", "push"}, {"widget", "OrvVekMAVersioningDlg.Cancel"}});
  state = Get("/api/state");
  EXPECT_EQ(state["command"], "");
  EXPECT_TRUE(state["dialogs"].empty());
}

TEST_F(Web, AGanttWindowACommandOpensIsDrawnForThePage) {
  Act({{"action", "start"}, {"module", "OrvVekPlanner"}, {"class", "OrvVekCreateGanttWndCmd"}});
  Act({{"action", "pick"}, {"path", "Process/Body Shop"}});
  Json state = Get("/api/state");
  ASSERT_EQ(state["windows"].size(), 1u) << state.dump();
  EXPECT_TRUE(state["windows"][0]["picture"].get<bool>());
  const std::string name = state["windows"][0]["name"];
  auto svg = client->Get("/api/window?name=" + Encode(name));
  ASSERT_TRUE(svg);
  EXPECT_EQ(svg->status, 200);
  EXPECT_EQ(svg->get_header_value("Content-Type"), "image/svg+xml");
  EXPECT_NE(svg->body.find("<svg"), std::string::npos);
  Get("/api/window?name=" + Encode("Gantt Chart.9"), 404);
}

TEST_F(Web, AModalBoxWaitsForThePagesAnswer) {
  const Json resources = Get("/api/tree?path=Resources");
  ASSERT_FALSE(resources["nodes"].empty());
  const std::string station = resources["nodes"][0]["path"];
  auto deleteWith = [&](const std::string& answer) {
    Act({{"action", "start"}, {"module", "OrvVekPlanner"}, {"class", "OrvVekDeleteResourceCmd"}});
    // The pick asks "do you really want to delete" and waits for the page.
    int status = 0;
    std::thread pick([&] {
      httplib::Client other("127.0.0.1", server->Port());
      other.set_default_headers({{"X-Mirt-Token", token}});
      other.set_read_timeout(30);
      auto res = other.Post("/api/action", Json{{"action", "pick"}, {"path", station}}.dump(), "application/json");
      status = res ? res->status : -1;
    });
    Json blocked;
    for (int i = 0; i < 500 && blocked.is_null(); ++i) {
      blocked = Get("/api/state")["blocked"];
      if (blocked.is_null()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_FALSE(blocked.is_null());
    EXPECT_NE(blocked["text"].get<std::string>().find("delete"), std::string::npos) << blocked.dump();
    // Meanwhile the page reads, but runs nothing else.
    Get("/api/tree");
    Act({{"action", "undo"}}, 409);
    Get("/api/object?path=" + Encode(station), 409);
    Act({{"action", "answer"}, {"answer", answer}});
    pick.join();
    EXPECT_EQ(status, 200);
    EXPECT_TRUE(Get("/api/state")["blocked"].is_null());
  };
  deleteWith("no");
  Get("/api/object?path=" + Encode(station));  // still there
  deleteWith("yes");
  Get("/api/object?path=" + Encode(station), 404);
}

TEST_F(Web, TheEventStreamSaysWhenToRedraw) {
  std::string got;
  std::thread later([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    httplib::Client other("127.0.0.1", server->Port());
    other.set_default_headers({{"X-Mirt-Token", token}});
    other.Post("/api/action", R"({"action":"select","path":"Products"})", "application/json");
  });
  auto res = client->Get("/api/events", [&](const char* data, std::size_t n) {
    got.append(data, n);
    return std::count(got.begin(), got.end(), '\n') < 4;  // two events
  });
  later.join();
  EXPECT_EQ(got.rfind("data: {\"generation\":", 0), 0u) << got;
  EXPECT_NE(got.find("data:", 5), std::string::npos) << got;
  // Stopping wakes every stream waiting for a change.
  session->Stop();
  EXPECT_TRUE(session->Stopped());
  EXPECT_EQ(session->WaitForChange(session->Generation(), std::chrono::hours(1)), session->Generation());
}

}  // namespace
