#pragma once

#include <cstdint>
#include <string>

namespace platform {

// An open file. Releasing the stream closes the file.
class BinaryStream {
 public:
  explicit BinaryStream(int descriptor);
  ~BinaryStream();
  BinaryStream(const BinaryStream&) = delete;
  BinaryStream& operator=(const BinaryStream&) = delete;

  // Writes all bytes; a failed or short write leaves its error in LastErrorCode.
  void Write(const std::string& bytes);
  // Reads up to count bytes from the current position, with no text encoding.
  std::string Read(int32_t count);
  int64_t Length() const;
  // Flushes to disk and closes now; an error goes to LastErrorCode. Safe to
  // call twice; the destructor closes without reporting.
  void Close();
  int32_t LastErrorCode() const { return lastErrorCode_; }

 private:
  int descriptor_;
  int32_t lastErrorCode_ = 0;
};

}  // namespace platform
