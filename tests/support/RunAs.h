#pragma once
// Permission checks only bite for an unprivileged user, and CI runs as root. RunAs
// runs a test body as ourselves or as user and group 65534 (nobody): as root in a
// forked child that drops its privileges first, its gtest failures printed there and
// reported here; as any other user right here, since we already are unprivileged.
#include <gtest/gtest.h>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

namespace mirt_test {

enum class As { Self, Nobody };
inline const char* Name(As who) { return who == As::Self ? "self" : "nobody"; }
constexpr unsigned kNobody = 65534;

inline bool Root() { return ::geteuid() == 0; }

inline void RunAs(As who, const std::function<void()>& body) {
  if (who == As::Self || !Root()) {
    body();
    return;
  }
  std::fflush(nullptr);
  pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(2);
    body();
    std::fflush(nullptr);
    ::_exit(::testing::Test::HasFailure() ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << "the body failed as user nobody (status " << status << "); its failures are printed above";
}

// A fresh folder under /tmp owned by whoever runs the body; removed with its contents.
struct ScratchDir {
  std::filesystem::path path;
  ScratchDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "mirt-test-XXXXXX").string();
    if (::mkdtemp(tmpl.data())) path = tmpl;
  }
  ~ScratchDir() {
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(path, ec);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
      if (it->is_directory(ec) && !it->is_symlink(ec)) std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all, ec);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(path, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  std::filesystem::path operator/(const std::string& name) const { return path / name; }
};

}  // namespace mirt_test
