#pragma once

#include <cstdint>
#include <string>

namespace platform {

// An open file. Releasing the stream closes the file.
class BinaryStream {
 public:
  // forWriting says that the file was opened for writing, so that closing it
  // flushes it to disk first.
  explicit BinaryStream(int descriptor, bool forWriting = false);
  ~BinaryStream();
  BinaryStream(const BinaryStream&) = delete;
  BinaryStream& operator=(const BinaryStream&) = delete;

  // Writes all bytes; a failed or short write leaves its error in LastErrorCode.
  void Write(const std::string& bytes);
  // Reads up to count bytes from the current position, with no text encoding.
  // Fewer come back at the end of the file or after an error (see LastErrorCode).
  std::string Read(int32_t count);
  // The file's length in bytes; -1 when it cannot be had (see LastErrorCode).
  int64_t Length() const;
  // Flushes to disk and closes now; an error goes to LastErrorCode. Safe to
  // call twice; the destructor closes without reporting.
  void Close();
  // The error of the latest operation that failed; 0 while none has, so one
  // test after the last write and Close tells whether all of them succeeded.
  int32_t LastErrorCode() const { return lastErrorCode_; }

 private:
  int descriptor_;
  bool forWriting_;
  mutable int32_t lastErrorCode_ = 0;
};

}  // namespace platform
