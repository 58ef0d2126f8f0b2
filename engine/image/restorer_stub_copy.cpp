#include "engine/image/restorer_stub_copy.h"

#include "engine/image/file_signatures.h"
#include "engine/image/signature_search.h"

namespace {

// The main program's own executable header occupies the start of its file; the stub's
// header is looked for only behind it.
constexpr long kStubSearchStart = 1024;

// Closes the stream it holds when it goes out of scope.
struct ScopedFile {
    FILE* file;
    ~ScopedFile() {
        if (file != nullptr) {
            fclose(file);  // NOLINT(cert-err33-c): read only
        }
    }
};

// Leaves `program` at the stub's first byte, or at its end when it holds no stub.
void SeekToStub(FILE* program) {
    unsigned char signature[kSignatureLength];
    MakeRestorerStubSignature(signature);
    if (fseek(program, kStubSearchStart, SEEK_SET) != 0 ||
        SeekToSignature(program, signature, kSignatureLength, -1) != 0) {
        // On a file that was just read, seeking to its end does not fail.
        fseek(program, 0, SEEK_END);  // NOLINT(cert-err33-c)
    }
}

// Copies the rest of `from` into `to`; false on a read or write error.
bool CopyRest(FILE* from, FILE* to, char* buffer) {
    for (;;) {
        const size_t got = fread(buffer, 1, kStubCopyPiece, from);
        if (got > 0 && fwrite(buffer, 1, got, to) != got) {
            return false;
        }
        if (got < static_cast<size_t>(kStubCopyPiece)) {
            return ferror(from) == 0;
        }
    }
}

// Copies the stub out of the open program into `output`, flushed.
int CopyStub(FILE* program, FILE* output, char* buffer) {
    SeekToStub(program);
    // A stub cut short by a full disk would make an image that cannot restore itself.
    if (!CopyRest(program, output, buffer) || fflush(output) != 0) {
        return kStubOutputNotCreated;
    }
    return kStubCopied;
}

}  // namespace

int CopyRestorerStubInto(const char* programPath, FILE* output, char* transferBuffer) {
    ScopedFile program{fopen(programPath, "rb")};
    if (program.file == nullptr) {
        return kStubProgramNotOpened;
    }
    return CopyStub(program.file, output, transferBuffer);
}

int CopyRestorerStub(const char* programPath, const char* outputPath, char* transferBuffer,
                     FILE** output) {
    *output = nullptr;
    ScopedFile program{fopen(programPath, "rb")};
    if (program.file == nullptr) {
        return kStubProgramNotOpened;
    }
    FILE* target = fopen(outputPath, "wb");
    if (target == nullptr) {
        return kStubOutputNotCreated;
    }
    if (CopyStub(program.file, target, transferBuffer) != kStubCopied) {
        // Already failed and reported as such.
        fclose(target);       // NOLINT(cert-err33-c)
        remove(outputPath);   // NOLINT(cert-err33-c)
        return kStubOutputNotCreated;
    }
    *output = target;
    return kStubCopied;
}
