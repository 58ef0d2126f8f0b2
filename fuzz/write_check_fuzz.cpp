// The write job over any image bytes, onto a simulated disk. Its checks before the drive
// is opened for writing must let through only data that is exactly one disk of the
// format, and for a compressed image only what an independent decode of the same file
// (libbzip2's buffer interface, stream after stream) gives. The first input byte chooses
// the image kind and the disk's format; the rest is the file.
#include <bzlib.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "engine/job/job_request.h"
#include "engine/job/write_floppy_job.h"
#include "fuzz/null_job_host.h"
#include "fuzz/scratch_folder.h"
#include "tests/support/simulated_floppy.h"

namespace {

bool StartsStream(const uint8_t* data, size_t size) {
    return size >= 4 && data[0] == 'B' && data[1] == 'Z' && data[2] == 'h' && data[3] >= '1' &&
           data[3] <= '9';
}

// Every stream from the start on, as long as the bytes behind one start another; false
// when the first is no stream or any stream is damaged or cut short.
bool ReferenceDecode(const uint8_t* data, size_t size, std::vector<uint8_t>& out) {
    if (!StartsStream(data, size)) {
        return false;
    }
    size_t at = 0;
    uint8_t chunk[65536];
    while (at < size && StartsStream(data + at, size - at)) {
        bz_stream stream{};
        if (BZ2_bzDecompressInit(&stream, 0, 0) != BZ_OK) {
            abort();
        }
        stream.next_in = const_cast<char*>(reinterpret_cast<const char*>(data + at));
        stream.avail_in = static_cast<unsigned>(size - at);
        int status = BZ_OK;
        while (status == BZ_OK) {
            stream.next_out = reinterpret_cast<char*>(chunk);
            stream.avail_out = sizeof chunk;
            status = BZ2_bzDecompress(&stream);
            out.insert(out.end(), chunk, chunk + (sizeof chunk - stream.avail_out));
            if (status == BZ_OK && stream.avail_in == 0 && stream.avail_out != 0) {
                status = BZ_UNEXPECTED_EOF;  // the input ended inside the stream
            }
            if (out.size() > 4u * 1024 * 1024) {
                status = BZ_MEM_ERROR;  // far beyond any disk: refused either way
            }
        }
        at = size - stream.avail_in;
        BZ2_bzDecompressEnd(&stream);
        if (status != BZ_STREAM_END) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    // Fresh disks are made once: copying one costs far less than filling its pattern.
    static const SimulatedFloppy kFreshDisks[] = {SimulatedFloppy(9), SimulatedFloppy(18),
                                                  SimulatedFloppy(21)};
    const SimulatedFloppy& fresh = kFreshDisks[(data[0] >> 1) % 3];
    const bool compressed = (data[0] & 1) != 0;
    const uint8_t* file = data + 1;
    const size_t fileSize = size - 1;
    const std::string path = Scratch().Write(compressed ? "image.imz" : "image.img", file, fileSize);

    JobRequest request;
    request.kind = JobKind::Write;
    strncpy(request.imagePath, path.c_str(), sizeof request.imagePath - 1);
    SimulatedFloppy floppy = fresh;
    const std::vector<uint8_t>& before = fresh.disk();
    NullJobHost host;
    WriteFloppyJob job(request, host, floppy);
    const int result = job.Run();

    if (!floppy.EveryOpenClosed() || host.finished + host.failed != 1 ||
        (result == 0) != (host.finished == 1)) {
        abort();
    }
    if (result != 0) {
        // Refused: nothing fails on this disk, so only the checks before writing can
        // have refused, and the disk is as it was.
        if (floppy.disk() != before) {
            abort();
        }
        return 0;
    }
    const std::vector<uint8_t>& disk = floppy.disk();
    if (compressed) {
        std::vector<uint8_t> decoded;
        if (!ReferenceDecode(file, fileSize, decoded) || decoded != disk) {
            abort();
        }
    } else if (!(fileSize == disk.size() || fileSize == disk.size() + 1024) ||
               memcmp(file, disk.data(), disk.size()) != 0) {
        abort();
    }
    return 0;
}
