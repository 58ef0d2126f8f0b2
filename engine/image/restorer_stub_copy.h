#pragma once
#include <stdio.h>

// Outcomes of CopyRestorerStub; each failure names what the caller reports.
constexpr int kStubCopied = 0;
constexpr int kStubProgramNotOpened = -1;  // "Unable to open %s" with the program's path
constexpr int kStubOutputNotCreated = -2;  // "Unable to create %s" with the output path

// Bytes handed through the transfer buffer at a time.
constexpr int kStubCopyPiece = 16;

// Starts a self-extracting image in `output`, a new file open for binary writing: copies
// into it the restorer stub that stands behind the main program in its own file
// `programPath`, i.e. everything from the first executable header at or after offset 1024
// to the end, and flushes it. If there is no such header, nothing is copied. The stream
// stays open, positioned at its end, ready for the compressor; kStubOutputNotCreated
// means the stub did not reach the file whole. `transferBuffer` holds at least
// kStubCopyPiece bytes.
int CopyRestorerStubInto(const char* programPath, FILE* output, char* transferBuffer);

// The same into a file of the name `outputPath`, created (or truncated) for binary
// writing, for callers that have no file of their own open yet: copies into it the
// restorer stub that stands behind the main program in its own
// file `programPath`, i.e. everything from the first executable header at or after
// offset 1024 to the end. If there is no such header, nothing is copied and the output
// is still created. `transferBuffer` holds at least kStubCopyPiece bytes.
//
// On kStubCopied, *output is the open output stream, positioned at its end, ready for
// the compressor. On failure *output is null and nothing is left open; an output that
// could not be written whole has been removed again (it is reported as not created).
int CopyRestorerStub(const char* programPath, const char* outputPath, char* transferBuffer,
                     FILE** output);
