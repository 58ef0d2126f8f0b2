#include "engine/image/image_data_check.h"

#include <string.h>

#include "engine/image/sha256_digest.h"
#include "resources/string_ids.h"

unsigned CheckImageData(const char* data, uint32_t found, uint32_t needed,
                        const TrailerChecksum& checksum) {
    if (found != needed) {
        return IDS_IMAGE_NOT_WHOLE_DISK;
    }
    switch (checksum.state) {
    case TrailerChecksum::None:
        return 0;
    case TrailerChecksum::Malformed:
        return IDS_IMAGE_CHECKSUM_MISMATCH;
    case TrailerChecksum::Stored:
        break;
    }
    char computed[Sha256Digest::kHexLength + 1];
    Sha256Hex(data, found, computed);
    return memcmp(computed, checksum.hex, Sha256Digest::kHexLength) == 0
               ? 0
               : IDS_IMAGE_CHECKSUM_MISMATCH;
}
