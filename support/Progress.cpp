#include "Progress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace support {

namespace {
using Clock = std::chrono::steady_clock;
constexpr auto kQuiet = std::chrono::milliseconds(500);  // shorter work shows nothing
constexpr auto kEvery = std::chrono::milliseconds(100);  // redraws at most this often

const char* Setting() {
  const char* v = std::getenv("MIRT_PROGRESS");
  return v ? v : "";
}

// "now" shows the line from the first step (for tests of the line itself).
Clock::duration QuietTime() {
  static const bool now = std::strcmp(Setting(), "now") == 0;
  return now ? Clock::duration::zero() : Clock::duration(kQuiet);
}

std::string Amount(std::uint64_t n, const std::string& unit) {
  char buf[64];
  if (unit == "bytes") std::snprintf(buf, sizeof buf, "%.1f MB", static_cast<double>(n) / 1e6);
  else std::snprintf(buf, sizeof buf, "%llu%s%s", static_cast<unsigned long long>(n), unit.empty() ? "" : " ", unit.c_str());
  return buf;
}
}  // namespace

bool Progress::Enabled() {
  static const bool on = *Setting() ? std::strcmp(Setting(), "0") != 0 : ::isatty(STDERR_FILENO) == 1;
  return on;
}

Progress::Progress(std::string what, std::uint64_t total, std::string unit)
    : what_(std::move(what)), unit_(std::move(unit)), total_(total), step_(total ? total / 1000 + 1 : 4096),
      start_(Clock::now()), on_(Enabled()) {}

Progress::~Progress() {
  if (!drawn_) return;
  // Blank the line rather than rely on terminal escapes: TERM may be dumb.
  std::string blank = "\r" + std::string(width_, ' ') + "\r";
  std::fputs(blank.c_str(), stderr);
  std::fflush(stderr);
}

std::string Progress::Line(std::uint64_t done) const {
  std::string line = what_ + ": ";
  if (total_) {
    const unsigned pct = static_cast<unsigned>(done >= total_ ? 100 : done * 100 / total_);
    line += std::to_string(pct) + "% (" + Amount(done, unit_) + " of " + Amount(total_, unit_) + ")";
  } else {
    line += Amount(done, unit_);
  }
  return line;
}

void Progress::Tick(std::uint64_t done) {
  next_ = done + step_;
  const auto now = Clock::now();
  if (now - start_ < QuietTime() || now - lastDraw_ < kEvery) return;
  lastDraw_ = now;
  std::string line = Line(done);
  const std::size_t shown = line.size();
  if (shown < width_) line += std::string(width_ - shown, ' ');
  width_ = std::max(width_, shown);
  std::fputs(("\r" + line).c_str(), stderr);
  std::fflush(stderr);
  drawn_ = true;
}

}  // namespace support
