// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/byte_io.h"

#include "errors.h"

namespace tarnwick {

void TByteReader::Need(size_t count) const {
  if (count > Remaining()) {
    throw DataFileError("the file ends early: " + std::to_string(count) +
                        " bytes needed at offset " + std::to_string(offset_) + ", " +
                        std::to_string(Remaining()) + " left");
  }
}

uint32_t TByteReader::ReadUInt32() {
  Need(4);
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value |= static_cast<uint32_t>(data_[offset_ + i]) << (8 * i);
  offset_ += 4;
  return value;
}

int32_t TByteReader::ReadInt32() {
  return static_cast<int32_t>(ReadUInt32());
}

int64_t TByteReader::ReadInt64() {
  Need(8);
  uint64_t value = 0;
  for (size_t i = 0; i < 8; ++i) value |= static_cast<uint64_t>(data_[offset_ + i]) << (8 * i);
  offset_ += 8;
  return static_cast<int64_t>(value);
}

std::string TByteReader::ReadBytes(size_t count) {
  Need(count);
  std::string text(reinterpret_cast<const char*>(data_ + offset_), count);
  offset_ += count;
  return text;
}

void WriteUInt32(std::vector<uint8_t>& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void WriteInt32(std::vector<uint8_t>& out, int32_t value) {
  WriteUInt32(out, static_cast<uint32_t>(value));
}

void WriteInt64(std::vector<uint8_t>& out, int64_t value) {
  const auto bits = static_cast<uint64_t>(value);
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<uint8_t>(bits >> (8 * i)));
}

}  // namespace tarnwick
