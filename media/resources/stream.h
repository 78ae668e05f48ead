// Byte streams: the I/O interface every loader reads through, and the stream base that adds
// the exact-count readers and writers.
// Depends on: nothing.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace media {

// A run-time error raised by the library layer, such as reading an unreadable stream.
class TRuntimeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TStreamException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Raised when a stream ends before the requested number of bytes has arrived.
class TStreamReadException : public TStreamException {
 public:
  TStreamReadException() : TStreamException("Error reading from stream") {}
};

// Raised when a stream stops taking bytes before the requested number was written.
class TStreamWriteException : public TStreamException {
 public:
  TStreamWriteException() : TStreamException("Error writing to stream") {}
};

// The byte-I/O interface. Positions and counts are 64-bit so that a count can never
// overflow a position test.
class TIO {
 public:
  virtual ~TIO() = default;

  // 1 when the position equals the size, else 0.
  virtual int Eof();
  virtual std::int64_t Pos() { return -1; }
  virtual std::int64_t Size() { return 0; }
  virtual std::int64_t Seek(std::int64_t /*pos*/) { return -1; }
  virtual int Flush() { return 0; }
  virtual int Close() { return 0; }
  // Reads up to `count` bytes; returns how many arrived. Throws TRuntimeError by default.
  virtual std::int64_t Read(void* buffer, std::int64_t count);
  // Writes up to `count` bytes; returns how many were taken. Throws TRuntimeError by default.
  virtual std::int64_t Write(const void* buffer, std::int64_t count);
};

class TStream : public TIO {
 public:
  // Reads exactly `count` bytes or throws TStreamReadException.
  void ReadBytes(void* buffer, std::int64_t count);
  // Writes exactly `count` bytes or throws TStreamWriteException.
  void WriteBytes(const void* buffer, std::int64_t count);
};

}  // namespace media
