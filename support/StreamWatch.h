#pragma once
// Catches the first write error of a standard stream with its reason. A stream
// only keeps a failed state: by the time a program looks, errno has long been
// overwritten. Installed between the stream and its buffer, this records errno
// the moment the buffer refuses bytes, and passes everything else through
// unbuffered, so output order with C stdio stays as it was.
#include <ostream>
#include <streambuf>

namespace support {

class StreamWatch final : public std::streambuf {
public:
  explicit StreamWatch(std::ostream& stream);
  ~StreamWatch() override;  // gives the stream its buffer back
  StreamWatch(const StreamWatch&) = delete;
  StreamWatch& operator=(const StreamWatch&) = delete;

  // Flushes the stream; the errno of its first failure, or 0 when all was written.
  int Finish();

protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

private:
  void Note();
  std::ostream& stream_;
  std::streambuf* inner_;
  int error_ = 0;
};

}  // namespace support
