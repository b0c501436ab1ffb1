// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// libFuzzer target for the data file reader: any bytes read or raise a DataFileError; a
// store that reads whole writes back its bytes.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/games.h"
#include "errors.h"
#include "store/data_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const tarnwick::TCatalogue games = tarnwick::BuildCatalogue();
  const std::vector<uint8_t> image(data, data + size);
  for (const tarnwick::TCatalogue* catalogue :
       {static_cast<const tarnwick::TCatalogue*>(nullptr), &games}) {
    tarnwick::TData store;
    try {
      store.ReadImage(image, catalogue);
    } catch (const tarnwick::DataFileError&) {
      continue;
    }
    if (store.Image() != image) std::abort();
  }
  return 0;
}
