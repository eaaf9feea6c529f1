#pragma once
// The one way the program writes a file: plants, reports, repositories, CSV, SVG.
//
// What a target gets:
//  - a regular file is replaced atomically (temporary file in the same folder,
//    fsync, rename) and keeps its mode, and its owner and group when run as root;
//  - a read-only file (no write permission, or no write bit at all for root) is
//    refused with "Permission denied", never silently replaced;
//  - a symlink: the file it points to is written, the link stays a link;
//  - a device, FIFO, /dev/stdout or /dev/fd/N is written directly, never replaced;
//    "-" means standard output when the caller asks for it (Options::dashIsStdout);
//  - a file with several hard links, a file owned by someone else, or a file in a
//    folder that takes no temporary file is written in place, only once the new
//    content is complete, so the links and the owner stay;
//  - a new file gets 0666 & ~umask; a missing folder is an error naming it.
// A failure names the file and the real reason, leaves the previous file as it was
// and no temporary file behind, also when SIGINT, SIGTERM, SIGHUP or SIGPIPE ends
// the program while a temporary file exists.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace support {

struct WriteOptions {
  bool dashIsStdout = false;  // "-" is standard output, not a file named "-"
};

// A streaming writer: Open, Write chunks, Commit. Destroying it without Commit
// aborts: the temporary file goes, the target stays as it was. After the first
// failure every call returns false and Error() tells why.
class FileWriter {
public:
  FileWriter() = default;
  ~FileWriter();
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;

  bool Open(const std::filesystem::path& target, WriteOptions options = {});
  bool Write(std::string_view bytes);
  bool Commit();
  void Abort();

  bool IsOpen() const { return mode_ != Mode::Closed; }
  bool Failed() const { return errno_ != 0; }
  int ErrorCode() const { return errno_; }          // errno of the first failure
  const std::string& Error() const { return error_; }  // "cannot write 'F': reason"
  const std::filesystem::path& Target() const { return target_; }

private:
  enum class Mode { Closed, Replace, InPlace, Direct };
  bool Fail(int error, const std::string& why = {});
  bool OpenStream(int fd);
  bool OpenDevice();
  bool OpenNew();
  bool OpenExisting(unsigned mode, unsigned uid, unsigned gid, unsigned long links);
  int CreateTemp(unsigned mode);  // errno on failure
  bool Flush();
  bool CommitReplace();
  bool CommitInPlace();
  void Release();

  Mode mode_ = Mode::Closed;
  std::filesystem::path target_;  // as the caller named it
  std::string display_;           // how messages name it
  std::string real_;              // the file written, symlinks followed
  std::string temp_;              // the temporary file while it exists
  int fd_ = -1;                   // the temporary file, or the target written directly
  int targetFd_ = -1;             // the target written in place
  int slot_ = -1;                 // the temporary file's entry in the signal registry
  bool inMemory_ = false;         // in place without a temporary file: the content waits here
  unsigned long long written_ = 0;  // bytes in the temporary file
  std::string buffer_;
  int errno_ = 0;
  std::string error_;
};

// The whole content at once; false with *error set on failure.
bool WriteFile(const std::filesystem::path& target, std::string_view bytes, std::string* error,
               WriteOptions options = {});

// True when both name the same existing file (device and inode, links followed).
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// For commands with inputs and outputs: an error message when `output` is one of
// `inputs` (also through a link or another hard link), empty otherwise. "-" never clashes.
std::string OutputIsInput(const std::filesystem::path& output, const std::vector<std::filesystem::path>& inputs);

// Test seam: the `count`-th next time the writer reaches `step` (1 = the next
// time), the call fails with `error` as if the system had refused it.
enum class WriteStep { CreateTemp, OpenTarget, Write, Sync, Close, Rename, Truncate };
void InjectWriteFailure(WriteStep step, int error, int count = 1);
void ClearWriteFailures();

}  // namespace support
