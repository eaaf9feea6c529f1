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
  EXPECT_EQ(FileRepository::Deserialize("mirt-repository 1\n\n").size(), 0u);
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
