// The one file writer: what each kind of target gets, and that every failure names
// the file and the reason, keeps the old file and leaves no temporary file behind.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "FileWriter.h"
#include "RunAs.h"

namespace fs = std::filesystem;
using mirt_test::As;
using mirt_test::RunAs;
using mirt_test::ScratchDir;
using support::FileWriter;
using support::WriteFile;
using support::WriteStep;

namespace {

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}
void Put(const fs::path& p, const std::string& bytes, fs::perms mode = fs::perms(0644)) {
  std::ofstream(p, std::ios::binary) << bytes;
  fs::permissions(p, mode);
}
struct stat Stat(const fs::path& p) {
  struct stat st {};
  EXPECT_EQ(::lstat(p.c_str(), &st), 0) << p;
  return st;
}
unsigned Mode(const fs::path& p) { return Stat(p).st_mode & 07777; }
// Names in `dir`, so that a leftover temporary file shows in the failure.
std::string Listing(const fs::path& dir) {
  std::vector<std::string> names;
  for (auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  std::string s;
  for (auto& n : names) s += n + " ";
  return s;
}
std::string Write(const fs::path& target, const std::string& bytes, support::WriteOptions o = {}) {
  std::string error;
  return WriteFile(target, bytes, &error, o) ? "ok" : error;
}
std::string Denied(const fs::path& p) { return "cannot write '" + p.string() + "': Permission denied"; }

class Umask {
public:
  explicit Umask(mode_t m) : old_(::umask(m)) {}
  ~Umask() { ::umask(old_); }

private:
  mode_t old_;
};

class Everyone : public testing::TestWithParam<As> {};
INSTANTIATE_TEST_SUITE_P(FileWriter, Everyone, testing::Values(As::Self, As::Nobody),
                         [](const auto& info) { return std::string(mirt_test::Name(info.param)); });

}  // namespace

// ------------------------------------------------------------------ regular files
TEST_P(Everyone, NewFileGetsTheUmaskAndExistingFileKeepsItsMode) {
  RunAs(GetParam(), [] {
    ScratchDir d;
    Umask mask(027);
    EXPECT_EQ(Write(d / "new.xml", "one"), "ok");
    EXPECT_EQ(Mode(d / "new.xml"), 0640u);
    Put(d / "private.xml", "old", fs::perms(0600));
    const ino_t before = Stat(d / "private.xml").st_ino;
    EXPECT_EQ(Write(d / "private.xml", "new"), "ok");
    EXPECT_EQ(Slurp(d / "private.xml"), "new");
    EXPECT_EQ(Mode(d / "private.xml"), 0600u);
    EXPECT_NE(Stat(d / "private.xml").st_ino, before) << "a regular file is replaced, not rewritten";
    EXPECT_EQ(Listing(d.path), "new.xml private.xml ");
  });
}

TEST_P(Everyone, ReadOnlyTargetIsRefused) {
  RunAs(GetParam(), [] {
    ScratchDir d;
    Put(d / "locked.xml", "keep", fs::perms(0444));
    EXPECT_EQ(Write(d / "locked.xml", "lost"), Denied(d / "locked.xml"));
    EXPECT_EQ(Slurp(d / "locked.xml"), "keep");
    EXPECT_EQ(Listing(d.path), "locked.xml ");
  });
}

TEST_P(Everyone, FolderWithoutRoomForATemporaryFileIsWrittenInPlace) {
  RunAs(GetParam(), [] {
    ScratchDir d;
    fs::create_directory(d / "shut");
    Put(d / "shut" / "open.xml", "old");
    Put(d / "shut" / "locked.xml", "keep", fs::perms(0444));
    fs::permissions(d / "shut", fs::perms(0555));
    const ino_t before = Stat(d / "shut" / "open.xml").st_ino;
    EXPECT_EQ(Write(d / "shut" / "open.xml", std::string(200000, 'x')), "ok");
    EXPECT_EQ(Slurp(d / "shut" / "open.xml"), std::string(200000, 'x'));
    if (!mirt_test::Root()) {
      EXPECT_EQ(Stat(d / "shut" / "open.xml").st_ino, before);
    }
    EXPECT_EQ(Write(d / "shut" / "locked.xml", "lost"), Denied(d / "shut" / "locked.xml"));
    if (mirt_test::Root()) {  // folder permissions do not hold root back
      EXPECT_EQ(Write(d / "shut" / "new.xml", "x"), "ok");
      EXPECT_EQ(Listing(d / "shut"), "locked.xml new.xml open.xml ");
    } else {
      EXPECT_EQ(Write(d / "shut" / "new.xml", "x"), Denied(d / "shut" / "new.xml"));
      EXPECT_EQ(Listing(d / "shut"), "locked.xml open.xml ");
    }
  });
}

TEST(FileWriter, SomeoneElsesFileKeepsItsOwnerAndGroup) {
  ScratchDir d;
  fs::permissions(d.path, fs::perms(0777));
  Put(d / "theirs.xml", "old", fs::perms(0664));
  if (mirt_test::Root()) {
    // Root keeps the owner by chown; nobody writing root's group-writable file in place.
    ASSERT_EQ(::chown((d / "theirs.xml").c_str(), mirt_test::kNobody, mirt_test::kNobody), 0);
    EXPECT_EQ(Write(d / "theirs.xml", "by root"), "ok");
    EXPECT_EQ(Stat(d / "theirs.xml").st_uid, mirt_test::kNobody);
    EXPECT_EQ(Stat(d / "theirs.xml").st_gid, mirt_test::kNobody);
    EXPECT_EQ(Mode(d / "theirs.xml"), 0664u);
    ASSERT_EQ(::chown((d / "theirs.xml").c_str(), 0, mirt_test::kNobody), 0);
    RunAs(As::Nobody, [&] { EXPECT_EQ(Write(d / "theirs.xml", "by nobody"), "ok"); });
    EXPECT_EQ(Slurp(d / "theirs.xml"), "by nobody");
    EXPECT_EQ(Stat(d / "theirs.xml").st_uid, 0u);
    Put(d / "roots.xml", "keep", fs::perms(0644));
    RunAs(As::Nobody, [&] { EXPECT_EQ(Write(d / "roots.xml", "lost"), Denied(d / "roots.xml")); });
    EXPECT_EQ(Slurp(d / "roots.xml"), "keep");
  } else {
    EXPECT_EQ(Write(d / "theirs.xml", "mine"), "ok");
    EXPECT_EQ(Stat(d / "theirs.xml").st_uid, ::geteuid());
  }
  EXPECT_EQ(Listing(d.path).find(".tmp"), std::string::npos) << Listing(d.path);
}

TEST_P(Everyone, HardLinksStayShared) {
  RunAs(GetParam(), [] {
    ScratchDir d;
    Put(d / "a.xml", std::string(300000, 'o'));
    fs::create_hard_link(d / "a.xml", d / "b.xml");
    EXPECT_EQ(Write(d / "a.xml", "short"), "ok");
    EXPECT_EQ(Slurp(d / "b.xml"), "short");
    // Streaming: more than one chunk goes through the temporary file first.
    FileWriter w;
    ASSERT_TRUE(w.Open(d / "b.xml")) << w.Error();
    for (int i = 0; i < 5000; ++i) ASSERT_TRUE(w.Write(std::to_string(i) + std::string(100, '-') + "\n"));
    EXPECT_EQ(Slurp(d / "a.xml"), "short") << "nothing reaches the target before Commit";
    ASSERT_TRUE(w.Commit()) << w.Error();
    std::string want;
    for (int i = 0; i < 5000; ++i) want += std::to_string(i) + std::string(100, '-') + "\n";
    EXPECT_EQ(Slurp(d / "a.xml"), want);
    EXPECT_EQ(Stat(d / "a.xml").st_ino, Stat(d / "b.xml").st_ino);
    EXPECT_EQ(Listing(d.path), "a.xml b.xml ");
  });
}

// ------------------------------------------------------------------ other targets
TEST_P(Everyone, SymlinkWritesWhereItPointsAndStaysALink) {
  RunAs(GetParam(), [] {
    ScratchDir d;
    fs::create_directory(d / "real");
    Put(d / "real" / "plant.xml", "old", fs::perms(0600));
    fs::create_symlink("real/plant.xml", d / "link.xml");
    fs::create_symlink("link.xml", d / "chain.xml");
    EXPECT_EQ(Write(d / "chain.xml", "new"), "ok");
    EXPECT_TRUE(fs::is_symlink(d / "chain.xml"));
    EXPECT_TRUE(fs::is_symlink(d / "link.xml"));
    EXPECT_EQ(fs::read_symlink(d / "link.xml"), "real/plant.xml");
    EXPECT_EQ(Slurp(d / "real" / "plant.xml"), "new");
    EXPECT_EQ(Mode(d / "real" / "plant.xml"), 0600u);
    fs::create_symlink("real/later.xml", d / "dangling.xml");
    EXPECT_EQ(Write(d / "dangling.xml", "made"), "ok");
    EXPECT_EQ(Slurp(d / "real" / "later.xml"), "made");
    EXPECT_TRUE(fs::is_symlink(d / "dangling.xml"));
    fs::create_symlink("loop.xml", d / "loop.xml");
    EXPECT_NE(Write(d / "loop.xml", "x").find("Too many levels of symbolic links"), std::string::npos);
    EXPECT_EQ(Listing(d / "real"), "later.xml plant.xml ");
  });
}

TEST(FileWriter, DevicesPipesAndStandardOutputAreWrittenDirectly) {
  EXPECT_EQ(Write("/dev/null", "gone"), "ok");
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_NE(Write("/dev/full", "x").find("cannot write '/dev/full': No space left on device"), std::string::npos);

  ScratchDir d;
  ASSERT_EQ(::mkfifo((d / "fifo").c_str(), 0600), 0);
  std::string got;
  std::thread reader([&] { got = Slurp(d / "fifo"); });
  EXPECT_EQ(Write(d / "fifo", std::string(100000, 'f')), "ok");
  reader.join();
  EXPECT_EQ(got, std::string(100000, 'f'));
  EXPECT_TRUE(fs::is_fifo(d / "fifo"));

  // Standard output redirected to a file: appended at its offset, the file not replaced.
  Put(d / "out.txt", "");
  std::cout.flush();
  std::fflush(nullptr);
  const int saved = ::dup(1);
  const int file = ::open((d / "out.txt").c_str(), O_WRONLY | O_APPEND);
  ::dup2(file, 1);
  ::close(file);
  const ino_t before = Stat(d / "out.txt").st_ino;
  const std::string viaDash = Write("-", "one ", {.dashIsStdout = true});
  const std::string viaDev = Write("/dev/stdout", "two ");
  const std::string viaFd = Write("/dev/fd/1", "three");
  ::dup2(saved, 1);
  ::close(saved);
  EXPECT_EQ(viaDash + viaDev + viaFd, "okokok");
  EXPECT_EQ(Slurp(d / "out.txt"), "one two three");
  EXPECT_EQ(Stat(d / "out.txt").st_ino, before);
  EXPECT_EQ(Listing(d.path), "fifo out.txt ");
}

TEST_P(Everyone, MissingFoldersAndFoldersAreErrorsThatNameThem) {
  RunAs(GetParam(), [] {
    ScratchDir d;
    const fs::path deep = d / "no" / "such" / "plant.xml";
    EXPECT_EQ(Write(deep, "x"), "cannot write '" + deep.string() + "': folder '" + (d / "no" / "such").string() +
                                     "' does not exist");
    Put(d / "file", "f");
    EXPECT_EQ(Write(d / "file" / "below.xml", "x"), "cannot write '" + (d / "file" / "below.xml").string() + "': '" +
                                                        (d / "file").string() + "' is not a folder");
    fs::create_directory(d / "dir");
    EXPECT_EQ(Write(d / "dir", "x"), "cannot write '" + (d / "dir").string() + "': it is a folder");
    EXPECT_EQ(Listing(d.path), "dir file ");
  });
}

// ------------------------------------------------------------------ failures
TEST(FileWriter, EachFailingStepKeepsTheOldFileAndNamesTheReason) {
  struct Case {
    WriteStep step;
    int error;
    bool hardLinked;
  };
  const Case cases[] = {{WriteStep::CreateTemp, EMFILE, false}, {WriteStep::Write, ENOSPC, false},
                        {WriteStep::Sync, EIO, false},          {WriteStep::Close, EDQUOT, false},
                        {WriteStep::Rename, EXDEV, false},      {WriteStep::OpenTarget, ETXTBSY, true},
                        {WriteStep::Write, ENOSPC, true},       {WriteStep::Truncate, EFBIG, true},
                        {WriteStep::Sync, EIO, true}};
  for (const Case& c : cases) {
    ScratchDir d;
    Put(d / "plant.xml", "old");
    if (c.hardLinked) fs::create_hard_link(d / "plant.xml", d / "other.xml");
    support::InjectWriteFailure(c.step, c.error);
    const std::string got = Write(d / "plant.xml", "new");
    support::ClearWriteFailures();
    SCOPED_TRACE(std::to_string(static_cast<int>(c.step)) + (c.hardLinked ? " in place" : " replace"));
    EXPECT_EQ(got, "cannot write '" + (d / "plant.xml").string() + "': " + std::strerror(c.error));
    // In place, a failure after the first byte written cannot keep the old content.
    if (!c.hardLinked || c.step == WriteStep::OpenTarget || c.step == WriteStep::Write) {
      EXPECT_EQ(Slurp(d / "plant.xml"), "old");
    }
    EXPECT_EQ(Listing(d.path), c.hardLinked ? "other.xml plant.xml " : "plant.xml ");
  }
}

TEST(FileWriter, AbandonedWriterRemovesItsTemporaryFile) {
  ScratchDir d;
  Put(d / "plant.xml", "old");
  {
    FileWriter w;
    ASSERT_TRUE(w.Open(d / "plant.xml"));
    ASSERT_TRUE(w.Write(std::string(100000, 'x')));
    EXPECT_EQ(Listing(d.path).find(".plant.xml."), 0u) << "the temporary file sits beside the target";
  }
  EXPECT_EQ(Slurp(d / "plant.xml"), "old");
  EXPECT_EQ(Listing(d.path), "plant.xml ");
  FileWriter w;
  EXPECT_FALSE(w.Write("x"));
  EXPECT_FALSE(w.Commit());
}

// The old writer used "<target>.tmp.<pid>": a link planted there made a root save
// overwrite the file it pointed to.
TEST(FileWriter, PlantedLinksAtGuessableNamesAreNotFollowed) {
  ScratchDir d;
  Put(d / "victim", "precious");
  Put(d / "plant.xml", "old");
  fs::create_symlink(d / "victim", d / ("plant.xml.tmp." + std::to_string(::getpid())));
  EXPECT_EQ(Write(d / "plant.xml", "new"), "ok");
  EXPECT_EQ(Slurp(d / "victim"), "precious");
  EXPECT_EQ(Slurp(d / "plant.xml"), "new");
}

TEST(FileWriter, SignalsRemoveTheTemporaryFileAndStillEndTheProgram) {
  for (int sig : {SIGINT, SIGTERM, SIGPIPE, SIGHUP}) {
    ScratchDir d;
    Put(d / "plant.xml", "old");
    std::fflush(nullptr);
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      FileWriter w;
      if (!w.Open(d / "plant.xml") || !w.Write(std::string(200000, 'x'))) ::_exit(2);
      ::raise(sig);
      ::_exit(3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << strsignal(sig) << ": status " << status;
    EXPECT_EQ(Listing(d.path), "plant.xml ") << strsignal(sig);
    EXPECT_EQ(Slurp(d / "plant.xml"), "old");
  }
  // A signal the program ignores stays ignored.
  ScratchDir d;
  pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::signal(SIGPIPE, SIG_IGN);
    FileWriter w;
    if (!w.Open(d / "plant.xml") || !w.Write("x")) ::_exit(2);
    ::raise(SIGPIPE);
    ::_exit(w.Commit() ? 0 : 4);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

// ------------------------------------------------------------------ outputs and inputs
TEST(FileWriter, OutputThatIsAnInputIsRecognisedThroughLinks) {
  ScratchDir d;
  Put(d / "plant.xml", "p");
  Put(d / "other.xml", "o");
  fs::create_hard_link(d / "plant.xml", d / "hard.xml");
  fs::create_symlink(d / "plant.xml", d / "soft.xml");
  const std::vector<fs::path> inputs{d / "other.xml", d / "plant.xml"};
  EXPECT_EQ(support::OutputIsInput(d / "hard.xml", inputs),
            "refusing to write '" + (d / "hard.xml").string() + "': it is the input '" + (d / "plant.xml").string() + "'");
  EXPECT_NE(support::OutputIsInput(d / "soft.xml", inputs), "");
  EXPECT_NE(support::OutputIsInput(d.path / "." / "plant.xml", inputs), "");
  EXPECT_EQ(support::OutputIsInput(d / "new.xml", inputs), "");
  EXPECT_EQ(support::OutputIsInput("-", inputs), "");
  EXPECT_FALSE(support::SameFile(d / "missing", d / "missing"));
}
