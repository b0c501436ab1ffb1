// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Little-endian reading and writing of the data file's fields, with every read checked
// against the bytes that are there.

#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick {

class TByteReader {
 public:
  TByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  size_t Offset() const { return offset_; }
  size_t Remaining() const { return size_ - offset_; }
  // Each raises a DataFileError when the data ends first.
  int32_t ReadInt32();
  uint32_t ReadUInt32();
  int64_t ReadInt64();
  std::string ReadBytes(size_t count);

 private:
  void Need(size_t count) const;
  const uint8_t* data_;
  size_t size_;
  size_t offset_ = 0;
};

void WriteInt32(std::vector<uint8_t>& out, int32_t value);
void WriteUInt32(std::vector<uint8_t>& out, uint32_t value);
void WriteInt64(std::vector<uint8_t>& out, int64_t value);

}  // namespace tarnwick
