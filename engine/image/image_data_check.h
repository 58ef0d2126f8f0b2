#pragma once
#include <stdint.h>

#include "engine/image/image_trailer.h"

// What may be wrong with an image's decoded sector data before anything uses it (a
// write, a conversion, a check): it is not exactly one disk, or it is not what the
// checksum in its trailer says. Returns the ID of the message that says so, or 0 when the
// data is good. `found` is the data's length, `needed` the format's size; the checksum
// is compared only when the length is right. A malformed checksum field means a damaged
// trailer, and nothing it says about the data holds: that is a mismatch too.
unsigned CheckImageData(const char* data, uint32_t found, uint32_t needed,
                        const TrailerChecksum& checksum);
