#pragma once
// A progress line on standard error for long work (loading, saving, generating,
// analysing 10^5+ objects). It shows only where a person watches: standard error
// is a terminal (MIRT_PROGRESS=1 or 0 forces it on or off), and only once the
// work has taken half a second, so short runs and piped output stay clean.
#include <chrono>
#include <cstdint>
#include <string>

namespace support {

class Progress {
public:
  // `total` 0: the amount is not known; the line then counts what is done.
  // `unit` "bytes" shows sizes in MB; anything else is printed after the count.
  Progress(std::string what, std::uint64_t total, std::string unit = {});
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // Cheap enough for every object or chunk: the clock is read only now and then.
  void Set(std::uint64_t done) {
    if (on_ && done >= next_) Tick(done);
  }

  // Whether progress lines are shown in this process.
  static bool Enabled();

private:
  void Tick(std::uint64_t done);
  std::string Line(std::uint64_t done) const;

  std::string what_, unit_;
  std::uint64_t total_, next_ = 0, step_;
  std::chrono::steady_clock::time_point start_, lastDraw_{};
  bool on_, drawn_ = false;
  std::size_t width_ = 0;
};

}  // namespace support
