#include "FileWriter.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <utility>

#include "TempFiles.h"

namespace support {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kChunk = 1 << 16;

// ------------------------------------------------------------------ test seam
struct Injection {
  WriteStep step;
  int error;
  int count;
};
std::vector<Injection>& Injections() {
  static std::vector<Injection> list;
  return list;
}
// The errno a planned failure of `step` gives now, else 0.
int Injected(WriteStep step) {
  auto& list = Injections();
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (it->step != step || --it->count > 0) continue;
    const int error = it->error;
    list.erase(it);
    return error;
  }
  return 0;
}

// ------------------------------------------------------------------ system calls
// Each returns 0 or the errno of the failure, taken before anything else runs.
int WriteAll(int fd, const char* data, std::size_t size, std::optional<off_t> at = std::nullopt) {
  if (int e = Injected(WriteStep::Write)) return e;
  while (size > 0) {
    ssize_t n = at ? ::pwrite(fd, data, size, *at) : ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return EIO;
    data += n;
    size -= static_cast<std::size_t>(n);
    if (at) *at += n;
  }
  return 0;
}

int Sync(int fd) {
  if (int e = Injected(WriteStep::Sync)) return e;
  if (::fsync(fd) == 0) return 0;
  // Pipes, terminals and some special files cannot be synced; nothing is lost.
  return errno == EINVAL || errno == EROFS ? 0 : errno;
}

int Close(int& fd) {
  if (fd < 0) return 0;
  int e = Injected(WriteStep::Close);
  if (::close(fd) != 0 && !e && errno != EINTR) e = errno;
  fd = -1;
  return e;
}

std::string Parent(const std::string& path) {
  std::string p = fs::path(path).parent_path().string();
  return p.empty() ? "." : p;
}

// "/dev/stdout" and the like name a descriptor this process already holds:
// written there directly, neither reopened (which would truncate a file the shell
// redirected to) nor replaced.
std::optional<int> DescriptorName(const std::string& path) {
  if (path == "/dev/stdout") return 1;
  if (path == "/dev/stderr") return 2;
  for (const char* prefix : {"/dev/fd/", "/proc/self/fd/"}) {
    const std::size_t n = std::strlen(prefix);
    if (path.compare(0, n, prefix) != 0 || path.size() == n || path.size() > n + 6) continue;
    int fd = 0;
    for (std::size_t i = n; i < path.size(); ++i) {
      if (path[i] < '0' || path[i] > '9') return std::nullopt;
      fd = fd * 10 + (path[i] - '0');
    }
    return fd;
  }
  return std::nullopt;
}

// Follows the symlinks of the last component; a dangling link names the file to create.
int Resolve(std::string path, std::string& real, std::optional<int>& descriptor) {
  for (int hops = 0;; ++hops) {
    if ((descriptor = DescriptorName(path))) return 0;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
      if (errno != ENOENT && errno != ENOTDIR) return errno;
      real = path;  // a new file; its folder is checked when it is made
      return 0;
    }
    if (!S_ISLNK(st.st_mode)) {
      real = path;
      return 0;
    }
    if (hops >= 40) return ELOOP;
    std::string link(PATH_MAX, '\0');
    ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
    if (n < 0) return errno;
    if (static_cast<std::size_t>(n) >= link.size()) return ENAMETOOLONG;
    link.resize(static_cast<std::size_t>(n));
    path = link[0] == '/' ? link : (fs::path(Parent(path)) / link).string();
  }
}

// Random letters for temporary names: never predictable, so nobody can plant a
// link under the name a privileged save will use.
std::string RandomSuffix() {
  static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char bytes[10];
  if (::getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes)) {
    static unsigned counter = 0;
    auto t = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (auto& b : bytes) {
      t = t * 6364136223846793005ULL + 1442695040888963407ULL + ::getpid() + ++counter;
      b = static_cast<unsigned char>(t >> 33);
    }
  }
  std::string s;
  for (unsigned char b : bytes) s += kAlphabet[b % (sizeof kAlphabet - 1)];
  return s;
}

// Keeps the temporary name within NAME_MAX, cutting on a character boundary.
std::string ShortStem(std::string name) {
  if (name.size() <= 200) return name;
  std::size_t cut = 200;
  while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
  return name.substr(0, cut);
}

// Blocks the cleaned-up signals while a temporary file is made and registered,
// so that no signal falls between the two.
class SignalsHeld {
public:
  SignalsHeld() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : kTempFileSignals) sigaddset(&set, s);
    ::sigprocmask(SIG_BLOCK, &set, &old_);
  }
  ~SignalsHeld() { ::sigprocmask(SIG_SETMASK, &old_, nullptr); }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
  sigset_t old_;
};

}  // namespace

void InjectWriteFailure(WriteStep step, int error, int count) { Injections().push_back({step, error, count}); }
void ClearWriteFailures() { Injections().clear(); }

// ------------------------------------------------------------------ opening
FileWriter::~FileWriter() { Abort(); }

bool FileWriter::Fail(int error, const std::string& why) {
  if (errno_ == 0) {
    errno_ = error ? error : EIO;
    error_ = "cannot write " + display_ + ": " + (why.empty() ? std::string(std::strerror(errno_)) : why);
  }
  Release();
  return false;
}

void FileWriter::Abort() { Release(); }

void FileWriter::Release() {
  for (int* fd : {&fd_, &targetFd_})
    if (*fd >= 0) ::close(std::exchange(*fd, -1));
  if (!temp_.empty()) {
    ::unlink(temp_.c_str());
    temp_.clear();
  }
  UnregisterTempFile(slot_);
  slot_ = -1;
  buffer_.clear();
  buffer_.shrink_to_fit();
  mode_ = Mode::Closed;
}

bool FileWriter::Open(const fs::path& target, WriteOptions options) {
  Release();
  errno_ = 0;
  error_.clear();
  inMemory_ = false;
  written_ = 0;
  target_ = target;
  real_.clear();
  const std::string name = target.string();
  if (options.dashIsStdout && name == "-") {
    display_ = "standard output";
    return OpenStream(STDOUT_FILENO);
  }
  display_ = "'" + name + "'";
  if (name.empty()) return Fail(ENOENT, "no file name given");
  std::optional<int> descriptor;
  if (int e = Resolve(name, real_, descriptor)) return Fail(e);
  if (descriptor) return OpenStream(*descriptor);
  struct stat st {};
  if (::stat(real_.c_str(), &st) != 0) return errno == ENOENT || errno == ENOTDIR ? OpenNew() : Fail(errno);
  if (S_ISDIR(st.st_mode)) return Fail(EISDIR, "it is a folder");
  if (!S_ISREG(st.st_mode)) return OpenDevice();
  return OpenExisting(st.st_mode, st.st_uid, st.st_gid, st.st_nlink);
}

bool FileWriter::OpenStream(int fd) {
  // What the program printed before goes out first.
  std::cout.flush();
  std::fflush(nullptr);
  fd_ = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
  if (fd_ < 0) return Fail(errno);
  mode_ = Mode::Direct;
  return true;
}

bool FileWriter::OpenDevice() {
  if (int e = Injected(WriteStep::OpenTarget)) return Fail(e);
  fd_ = ::open(real_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd_ < 0) return Fail(errno);
  mode_ = Mode::Direct;
  return true;
}

bool FileWriter::OpenNew() {
  const std::string folder = Parent(real_);
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) {
    const int e = errno;
    return e == ENOENT ? Fail(e, "folder '" + folder + "' does not exist") : Fail(e);
  }
  if (!S_ISDIR(st.st_mode)) return Fail(ENOTDIR, "'" + folder + "' is not a folder");
  // Created 0666 so that the umask (or the folder's default ACL) decides, as for any new file.
  if (int e = CreateTemp(0666)) return Fail(e);
  mode_ = Mode::Replace;
  return true;
}

bool FileWriter::OpenExisting(unsigned mode, unsigned uid, unsigned gid, unsigned long links) {
  // A file nobody may write is refused even for root, who could: replacing it
  // would silently defeat the protection its owner asked for.
  if ((mode & 0222) == 0) return Fail(EACCES);
  if (::faccessat(AT_FDCWD, real_.c_str(), W_OK, AT_EACCESS) != 0) return Fail(errno);
  const bool root = ::geteuid() == 0;
  // A replacement would be a new inode owned by us: the other links would keep
  // the old content, and someone else's file would change hands.
  const bool inPlace = links > 1 || (!root && uid != ::geteuid());
  bool folderRefuses = false;
  if (!inPlace) {
    const int e = CreateTemp(0600);
    if (e == EACCES || e == EPERM) {
      folderRefuses = true;  // but the file itself is writable: written in place
    } else if (e) {
      return Fail(e);
    } else {
      // Owner first: changing it clears the set-id bits that fchmod then restores.
      if (root) (void)::fchown(fd_, uid, gid);
      else if (gid != ::getegid()) (void)::fchown(fd_, static_cast<uid_t>(-1), gid);
      if (::fchmod(fd_, mode & 07777) != 0) return Fail(errno);
      mode_ = Mode::Replace;
      return true;
    }
  }
  if (int e = Injected(WriteStep::OpenTarget)) return Fail(e);
  targetFd_ = ::open(real_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (targetFd_ < 0) return Fail(errno);
  // The new content waits in a temporary file when the folder takes one, else in memory.
  inMemory_ = folderRefuses || CreateTemp(0600) != 0;
  mode_ = Mode::InPlace;
  return true;
}

int FileWriter::CreateTemp(unsigned mode) {
  const std::string stem = Parent(real_) + "/." + ShortStem(fs::path(real_).filename().string()) + ".";
  SignalsHeld held;
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (int e = Injected(WriteStep::CreateTemp)) return e;
    std::string name = stem + RandomSuffix() + ".tmp";
    int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, mode);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return errno;
    }
    fd_ = fd;
    temp_ = std::move(name);
    slot_ = RegisterTempFile(temp_.c_str());
    return 0;
  }
  return EEXIST;
}

// ------------------------------------------------------------------ writing
bool FileWriter::Write(std::string_view bytes) {
  if (Failed()) return false;
  if (mode_ == Mode::Closed) return Fail(EBADF, "the file is not open");
  buffer_.append(bytes);
  return inMemory_ || buffer_.size() < kChunk || Flush();
}

bool FileWriter::Flush() {
  if (inMemory_ || buffer_.empty()) return true;
  if (int e = WriteAll(fd_, buffer_.data(), buffer_.size())) return Fail(e);
  written_ += buffer_.size();
  buffer_.clear();
  return true;
}

bool FileWriter::Commit() {
  if (Failed()) return false;
  if (mode_ == Mode::Closed) return Fail(EBADF, "the file is not open");
  if (!Flush()) return false;
  bool ok = true;
  if (mode_ == Mode::Replace) {
    ok = CommitReplace();
  } else if (mode_ == Mode::InPlace) {
    ok = CommitInPlace();
  } else if (int e = Close(fd_)) {
    ok = Fail(e);
  }
  if (ok) Release();
  return ok;
}

bool FileWriter::CommitReplace() {
  if (int e = Sync(fd_)) return Fail(e);
  if (int e = Close(fd_)) return Fail(e);
  int e = Injected(WriteStep::Rename);
  if (!e && ::rename(temp_.c_str(), real_.c_str()) != 0) e = errno;
  if (e) return Fail(e);
  temp_.clear();
  // The rename itself reaches the disk with the folder; a folder that cannot be
  // synced (some network file systems) does not undo a write that happened.
  int dir = ::open(Parent(real_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    (void)::fsync(dir);
    ::close(dir);
  }
  return true;
}

bool FileWriter::CommitInPlace() {
  const off_t size = static_cast<off_t>(inMemory_ ? buffer_.size() : written_);
  // Room first: a full disk is found before the old content is touched.
  if (::fallocate(targetFd_, FALLOC_FL_KEEP_SIZE, 0, size) != 0 && errno != EOPNOTSUPP && errno != ENOSYS &&
      errno != EINVAL)
    return Fail(errno);
  if (inMemory_) {
    if (int e = WriteAll(targetFd_, buffer_.data(), buffer_.size(), off_t{0})) return Fail(e);
  } else {
    std::string chunk(kChunk, '\0');
    for (off_t at = 0; at < size;) {
      ssize_t n = ::pread(fd_, chunk.data(), chunk.size(), at);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return Fail(n < 0 ? errno : EIO);
      if (int e = WriteAll(targetFd_, chunk.data(), static_cast<std::size_t>(n), at)) return Fail(e);
      at += n;
    }
  }
  int e = Injected(WriteStep::Truncate);
  if (!e && ::ftruncate(targetFd_, size) != 0) e = errno;
  if (e) return Fail(e);
  if ((e = Sync(targetFd_))) return Fail(e);
  if ((e = Close(targetFd_))) return Fail(e);
  return true;
}

// ------------------------------------------------------------------ helpers
bool WriteFile(const fs::path& target, std::string_view bytes, std::string* error, WriteOptions options) {
  FileWriter w;
  if (w.Open(target, options) && w.Write(bytes) && w.Commit()) return true;
  if (error) *error = w.Error();
  return false;
}

bool SameFile(const fs::path& a, const fs::path& b) {
  struct stat sa {}, sb {};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

std::string OutputIsInput(const fs::path& output, const std::vector<fs::path>& inputs) {
  if (output == "-") return {};
  for (const auto& in : inputs)
    if (SameFile(output, in))
      return "refusing to write '" + output.string() + "': it is the input '" + in.string() + "'";
  return {};
}

}  // namespace support
