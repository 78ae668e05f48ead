// A stream over a block of memory, such as an embedded file. Closing it releases nothing.
// Depends on: stream.h.
#pragma once

#include <cstdint>
#include <memory>

#include "media/resources/stream.h"

namespace media {

class TRamStream : public TStream {
 public:
  // A read-only stream over `size` bytes at `buffer` (writing is always refused).
  static std::shared_ptr<TRamStream> Create(const void* buffer, std::int32_t size, int readable);
  // A stream over a block the caller owns and lets it write to.
  static std::shared_ptr<TRamStream> Create(void* buffer, std::int32_t size, int readable,
                                            int writeable);

  std::int64_t Pos() override { return _pos; }
  std::int64_t Size() override { return _size; }
  // Clamps to 0..Size() and returns the new position.
  std::int64_t Seek(std::int64_t pos) override;
  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;

 private:
  std::int32_t _pos = 0;                 // current position
  std::int32_t _size = 0;                // block length
  const std::uint8_t* _buf = nullptr;    // the block
  std::uint8_t* _writeBuf = nullptr;     // the same block when the caller allows writes
  int _read = 0;                         // reading allowed
  int _write = 0;                        // writing allowed
};

}  // namespace media
