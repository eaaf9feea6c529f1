// The reference host's run-time: catalogues, repositories, session.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "HostRuntime.h"

using namespace host;
namespace fs = std::filesystem;

namespace {

struct TempDir {
  fs::path path;
  TempDir() {
    path = fs::temp_directory_path() / ("mirt-test-" + std::to_string(::getpid()) + "-" +
                                        std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    fs::create_directories(path);
  }
  ~TempDir() {
    std::error_code ec;
    fs::permissions(path, fs::perms::owner_all, ec);
    fs::remove_all(path, ec);
  }
};

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(Catalogs, ParseReportsBadLinesAndKeepsGoodOnes) {
  std::vector<std::string> errors;
  auto m = MessageCatalogs::Parse("# comment\nTitle = Hello /P1\n\nbroken line\nMulti = a\\nb\n = nokey\n", "X.msg", &errors);
  EXPECT_EQ(m.at("Title"), "Hello /P1");
  EXPECT_EQ(m.at("Multi"), "a\nb");
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0], "X.msg:4: expected 'Key = text'");
  EXPECT_EQ(errors[1].rfind("X.msg:6:", 0), 0u);

  // A key with blanks of its own is quoted; the quotes are not part of it.
  errors.clear();
  m = MessageCatalogs::Parse("\" lead\" = a\nplain words = b\n\"\" = c\n", "Q.msg", &errors);
  EXPECT_EQ(m.at(" lead"), "a");
  EXPECT_EQ(m.count("\"\""), 0u);
  EXPECT_EQ(errors.size(), 2u);

  // Blanks around a text go, but escaped ones at its ends stay.
  m = MessageCatalogs::Parse("Prefix = Copy of\\ \nOpen = \\ (  \nPlain = x  \n", "B.msg", nullptr);
  EXPECT_EQ(m.at("Prefix"), "Copy of ");
  EXPECT_EQ(m.at("Open"), " (");
  EXPECT_EQ(m.at("Plain"), "x");
}

TEST(Session, MessagesComeFromCataloguesWithFallback) {
  TempDir d;
  fs::create_directories(d.path / "catalogs");
  std::ofstream(d.path / "catalogs" / "Cat.msg") << "Known = found /P1\n";
  HostSession s;
  s.Catalogs() = MessageCatalogs(d.path);
  EXPECT_EQ(TavMsgCatalog::BuildMessage("Cat", "Known", {"it"}, "fallback"), "found it");
  EXPECT_EQ(TavMsgCatalog::BuildMessage("Cat", "Missing", {}, "fallback"), "fallback");
  EXPECT_EQ(TavMsgCatalog::BuildMessage("NoCat", "Known", {"x"}, "fb /P1"), "fb x");
  EXPECT_TRUE(TavMsgCatalog::HasKey("Cat", "Known"));
  EXPECT_FALSE(TavMsgCatalog::HasKey("Cat", "Missing"));
}

TEST(Repository, RoundTripsEveryTypeThroughTheFile) {
  TempDir d;
  {
    FileRepository r("Opts", d.path / "Opts.repo");
    r.Write("name", TavUnicodeString("tab\there\nnewline \\ back"));
    r.Write("count", std::int64_t(-42));
    r.Write("tol", 0.125);
    r.Write("on", true);
    std::string err;
    ASSERT_TRUE(r.Save(&err)) << err;
  }
  FileRepository r("Opts", d.path / "Opts.repo");
  EXPECT_EQ(r.ReadString("name", ""), "tab\there\nnewline \\ back");
  EXPECT_EQ(r.ReadInt("count", 0), -42);
  EXPECT_DOUBLE_EQ(r.ReadReal("tol", 0), 0.125);
  EXPECT_TRUE(r.ReadBool("on", false));
  EXPECT_TRUE(r.Delete("on"));
  EXPECT_FALSE(r.Read("on"));
}

TEST(Repository, CorruptFileIsSetAsideNotOverwritten) {
  TempDir d;
  const fs::path file = d.path / "Bad.repo";
  std::ofstream(file) << "mirt-repository 1\nkey\tint\tnot-a-number\n";
  std::vector<std::string> reports;
  SetDiagnosticSink([&](const std::string& m) { reports.push_back(m); });
  FileRepository r("Bad", file);
  SetDiagnosticSink([](const std::string& m) { std::cerr << m << '\n'; });
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("line 2"), std::string::npos);
  EXPECT_FALSE(r.Read("key"));
  EXPECT_FALSE(fs::exists(file));
  EXPECT_EQ(Slurp(fs::path(file.string() + ".corrupt")), "mirt-repository 1\nkey\tint\tnot-a-number\n");
}

TEST(Repository, DeserializeRejectsMalformedText) {
  EXPECT_THROW(FileRepository::Deserialize("other header\n"), std::runtime_error);
  EXPECT_THROW(FileRepository::Deserialize("mirt-repository 1\nonlykey\n"), std::runtime_error);
  EXPECT_THROW(FileRepository::Deserialize("mirt-repository 1\nk\tbool\tyes\n"), std::runtime_error);
  EXPECT_THROW(FileRepository::Deserialize("mirt-repository 1\nk\treal\t1.5x\n"), std::runtime_error);
  EXPECT_THROW(FileRepository::Deserialize("mirt-repository 1\nk\tcolour\tred\n"), std::runtime_error);
  EXPECT_EQ(FileRepository::Deserialize("mirt-repository 1\n\n"), RepositoryContents{});
}

TEST(Repository, StringArraysRoundTripThroughTheFile) {
  TempDir d;
  const std::vector<TavUnicodeString> query{"'Name'='a\tb'", "OR", "", "line\nbreak \\ back\\", "\\t", "é"};
  {
    FileRepository r("OrvGanttSearch", d.path / "G.repo");
    EXPECT_EQ(r.WriteStrings("Welds_QN", query), 6);
    EXPECT_EQ(r.WriteStrings("Nothing", {}), 0);
    EXPECT_EQ(r.WriteStrings("Blank", {""}), 1);
    r.Write("Welds_QS", std::int64_t(6));
    ASSERT_TRUE(r.Save());
  }
  EXPECT_EQ(Slurp(d.path / "G.repo"),
            "mirt-repository 1\n"
            "Blank\tstrings\t1\t\n"
            "Nothing\tstrings\t0\n"
            "Welds_QN\tstrings\t6\t'Name'='a\\tb'\tOR\t\tline\\nbreak \\\\ back\\\\\t\\\\t\té\n"
            "Welds_QS\tint\t6\n");
  FileRepository r("OrvGanttSearch", d.path / "G.repo");
  EXPECT_EQ(r.ReadStrings("Welds_QN"), query);
  EXPECT_EQ(r.ReadStrings("Nothing"), std::vector<TavUnicodeString>{});
  EXPECT_EQ(r.ReadStrings("Blank"), std::vector<TavUnicodeString>{""});
  EXPECT_EQ(r.ReadInt("Welds_QS", 0), 6);
  EXPECT_FALSE(r.ReadStrings("Welds_QS"));  // a value is no array
  EXPECT_FALSE(r.Read("Welds_QN"));         // nor the reverse
  // Writing back what was read gives the same bytes.
  const std::string text = Slurp(d.path / "G.repo");
  EXPECT_EQ(FileRepository::Serialize(FileRepository::Deserialize(text)), text);
}

TEST(Repository, AKeyHoldsAValueOrAnArrayAndDeleteTakesEither) {
  FileRepository r("R", "/nonexistent/R.repo");
  r.Write("k", std::int64_t(1));
  r.WriteStrings("k", {"a", "b"});
  EXPECT_FALSE(r.Read("k"));
  EXPECT_EQ(r.ReadStrings("k")->size(), 2u);
  r.WriteStrings("list", {"x"});
  r.Write("list", TavUnicodeString("now a text"));
  EXPECT_FALSE(r.ReadStrings("list"));
  EXPECT_EQ(r.ReadString("list", ""), "now a text");
  r.Write("b", true);
  EXPECT_EQ(r.Keys(), (std::vector<std::string>{"b", "k", "list"}));  // each key once, in order
  EXPECT_TRUE(r.Delete("k"));
  EXPECT_FALSE(r.ReadStrings("k"));
  EXPECT_FALSE(r.Delete("k"));
  EXPECT_EQ(r.Keys(), (std::vector<std::string>{"b", "list"}));
  // A file naming a key twice keeps its last line, of whichever kind.
  const auto c = FileRepository::Deserialize("mirt-repository 1\nk\tint\t1\nk\tstrings\t1\tx\nj\tstrings\t0\nj\tbool\ttrue\n");
  EXPECT_EQ(c.arrays, (std::map<std::string, std::vector<TavUnicodeString>>{{"k", {"x"}}}));
  EXPECT_EQ(c.values.size(), 1u);
  EXPECT_EQ(c.values.count("j"), 1u);
}

TEST(Repository, ArrayWithAWrongCountIsDamageSetAside) {
  const auto error = [](const std::string& line) -> std::string {
    try {
      FileRepository::Deserialize("mirt-repository 1\nok\tint\t1\n" + line + "\n");
    } catch (const std::runtime_error& e) {
      return e.what();
    }
    return "accepted";
  };
  EXPECT_EQ(error("q\tstrings\t3\ta\tb"), "line 3: array 'q' announces 3 strings but holds 2");
  EXPECT_EQ(error("q\tstrings\t0\t"), "line 3: array 'q' announces 0 strings but holds 1");
  EXPECT_EQ(error("q\tstrings\t18446744073709551615"), "line 3: array 'q' announces 18446744073709551615 strings but holds 0");
  EXPECT_EQ(error("q\tstrings\t99999999999999999999999"), "line 3: array 'q': bad string count '99999999999999999999999'");
  EXPECT_EQ(error("q\tstrings\t-1"), "line 3: array 'q': bad string count '-1'");
  EXPECT_EQ(error("q\tstrings\t 1\tx"), "line 3: array 'q': bad string count ' 1'");
  EXPECT_EQ(error("q\tstrings"), "line 3: array 'q': bad string count ''");
  EXPECT_EQ(error("q\tstrings\t"), "line 3: array 'q': bad string count ''");

  TempDir d;
  const fs::path file = d.path / "Q.repo";
  const std::string damaged = "mirt-repository 1\nSavedQueryList\tstrings\t2\tonly one\n";
  std::ofstream(file) << damaged;
  std::vector<std::string> reports;
  SetDiagnosticSink([&](const std::string& m) { reports.push_back(m); });
  FileRepository r("Q", file);
  SetDiagnosticSink([](const std::string& m) { std::cerr << m << '\n'; });
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("line 2: array 'SavedQueryList' announces 2 strings but holds 1"), std::string::npos);
  EXPECT_TRUE(r.Keys().empty());
  EXPECT_EQ(Slurp(fs::path(file.string() + ".corrupt")), damaged);
  // Saving now writes a fresh file beside the one set aside.
  r.WriteStrings("SavedQueryList", {"Welds"});
  ASSERT_TRUE(r.Save());
  EXPECT_EQ(Slurp(fs::path(file.string() + ".corrupt")), damaged);
}

TEST(Repository, SaveMakesItsOwnFolderAndRefusesAReadOnlyFile) {
  TempDir d;
  const fs::path file = d.path / "settings" / "Opts.repo";
  FileRepository r("Opts", file);
  r.Write("on", true);
  std::string err;
  ASSERT_TRUE(r.Save(&err)) << err;
  fs::permissions(file, fs::perms::owner_read);
  r.Write("on", false);
  EXPECT_FALSE(r.Save(&err));
  EXPECT_EQ(err, "cannot write '" + file.string() + "': Permission denied");
  EXPECT_EQ(Slurp(file), "mirt-repository 1\non\tbool\ttrue\n");
}

TEST(Repository, NamesStayInsideTheConfigurationFolder) {
  for (const char* bad : {"", "../escape", "a/b", "a\\b", "..", "x..y"}) {
    EXPECT_NE(RepositoryNameProblem(bad), "") << bad;
    HostSession s;
    EXPECT_THROW(s.Settings(bad), std::invalid_argument) << bad;
    EXPECT_THROW(s.Preferences(bad), std::invalid_argument) << bad;
  }
  EXPECT_EQ(RepositoryNameProblem("OrvVekPartConsumption.v2"), "");
}

TEST(Session, EditorsSelectionAndInstall) {
  {
    HostSession s;
    EXPECT_EQ(TavHostServices::Get(), &s);
    EXPECT_EQ(TavFrmEditor::GetCurrentEditor(), nullptr);
    auto doc = HostDocument::Create();
    auto ed = s.OpenDocument(doc);
    EXPECT_EQ(TavFrmEditor::GetCurrentEditor(), ed);
    EXPECT_EQ(TavFrmEditor::GetCurrentEditor()->GetDocument(), doc);
    TavApplicationFrame::SetBusyCursor(true);
    EXPECT_TRUE(TavApplicationFrame::IsBusy());
    s.CloseEditor(ed);
    EXPECT_EQ(TavFrmEditor::GetCurrentEditor(), nullptr);
  }
  EXPECT_EQ(TavHostServices::Get(), nullptr);
}

TEST(Session, RepositoriesPersistUnderTheConfigDirectory) {
  TempDir d;
  ::setenv("MIRT_CONFIG_DIR", d.path.c_str(), 1);
  {
    HostSession s;
    auto& r = TavSettingRepository::GetRepository("Planner");
    r.Write("x", std::int64_t(3));
    ASSERT_TRUE(r.Save());
  }
  EXPECT_TRUE(fs::exists(d.path / "settings" / "Planner.repo"));
  {
    HostSession s;
    EXPECT_EQ(TavSettingRepository::GetRepository("Planner").ReadInt("x", 0), 3);
    EXPECT_EQ(TavSysPreferenceRepository::GetRepository("Planner").ReadInt("x", 0), 0);  // a separate store
  }
}

}  // namespace
