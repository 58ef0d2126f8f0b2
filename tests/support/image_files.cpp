#include "tests/support/image_files.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>

#include "engine/image/bad_sector_list.h"
#include "engine/image/bad_sector_map.h"
#include "engine/image/bzip2_stream.h"
#include "tests/support/binary_data.h"
#include "tests/support/temp_dir.h"

std::vector<uint32_t> SectorsInMap(const std::string& mapPath, uint32_t total) {
    BadSectorList list;
    EXPECT_EQ(ReadBadSectorMap(mapPath.c_str(), total, list), 0) << mapPath;
    std::vector<uint32_t> bad;
    for (uint32_t s = 0; s < list.Total(); ++s) {
        if (list.IsBad(s)) bad.push_back(s);
    }
    return bad;
}

std::string DiskBytes(const SimulatedFloppy& disk) {
    return std::string(reinterpret_cast<const char*>(disk.disk().data()), disk.disk().size());
}

void SetDiskBytes(SimulatedFloppy& disk, const std::string& bytes) {
    EXPECT_EQ(bytes.size(), disk.disk().size()) << "a disk keeps its size";
    memcpy(disk.disk().data(), bytes.data(), std::min(bytes.size(), disk.disk().size()));
}

std::string CompressedStream(const std::string& data) {
    FILE* file = tmpfile();
    if (file == nullptr) {
        ADD_FAILURE() << "no temporary file";
        return std::string();
    }
    Bzip2Writer writer;
    EXPECT_EQ(writer.Open(file), 0);
    for (size_t at = 0; at < data.size(); at += 10240) {
        const size_t size = std::min<size_t>(10240, data.size() - at);
        EXPECT_EQ(writer.Write(data.data() + at, static_cast<int>(size)), 0);
    }
    EXPECT_EQ(writer.Finish(), 0);
    std::string stream;
    rewind(file);
    char piece[4096];
    size_t got = 0;
    while ((got = fread(piece, 1, sizeof piece, file)) > 0) {
        stream.append(piece, got);
    }
    fclose(file);
    return stream;
}

std::string Bzip2Bomb(int streams) {
    const std::string one = CompressedStream(std::string(8000000, '\0'));
    std::string bomb;
    for (int i = 0; i < streams; ++i) bomb += one;
    return bomb;
}

StreamContents DecompressFile(const std::string& path, long offset) {
    StreamContents out;
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr || fseek(file, offset, SEEK_SET) != 0) {
        ADD_FAILURE() << "cannot open " << path << " at " << offset;
        if (file) fclose(file);
        return out;
    }
    {
        Bzip2Reader reader;
        EXPECT_EQ(reader.Open(file), 0);
        static char chunk[kBzip2ReadChunk];
        for (;;) {
            int count = 0;
            const Bzip2ReadStatus status = reader.Read(chunk, &count);
            if (status == Bzip2ReadStatus::Data) {
                out.data.append(chunk, static_cast<size_t>(count));
                continue;
            }
            out.complete = status == Bzip2ReadStatus::End;
            break;
        }
    }
    fclose(file);
    return out;
}

std::string WriteFakeProgram(const std::string& path, size_t headSize, size_t stubSize) {
    const std::string signature = RestorerStubSignatureBytes();
    std::string head = signature + BinaryTestData(headSize, 71);
    head.resize(headSize);
    // The head must not hold a second signature from offset 1024 on.
    std::string stub = signature + BinaryTestData(stubSize - signature.size(), 72);
    WriteWholeFile(path, head + stub);
    return stub;
}

bool NothingHoldsFile(const std::string& path) {
    const std::string moved = path + ".moved";
    if (rename(path.c_str(), moved.c_str()) != 0) {
        return false;
    }
    return rename(moved.c_str(), path.c_str()) == 0;
}
