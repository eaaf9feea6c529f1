#include "StreamWatch.h"

#include <cerrno>
#include <cstdio>

namespace support {

StreamWatch::StreamWatch(std::ostream& stream) : stream_(stream), inner_(stream.rdbuf(this)) {}

StreamWatch::~StreamWatch() { stream_.rdbuf(inner_); }

void StreamWatch::Note() {
  if (!error_) error_ = errno ? errno : EIO;
}

StreamWatch::int_type StreamWatch::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  errno = 0;
  int_type r = inner_->sputc(traits_type::to_char_type(c));
  if (traits_type::eq_int_type(r, traits_type::eof())) Note();
  return r;
}

std::streamsize StreamWatch::xsputn(const char* s, std::streamsize n) {
  errno = 0;
  std::streamsize done = inner_->sputn(s, n);
  if (done < n) Note();
  return done;
}

int StreamWatch::sync() {
  errno = 0;
  int r = inner_->pubsync();
  if (r != 0) Note();
  return r;
}

int StreamWatch::Finish() {
  stream_.flush();
  // C stdio may hold bytes of its own (std::cout writes through stdout's buffer).
  errno = 0;
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) Note();
  if (!stream_) Note();
  return error_;
}

}  // namespace support
