#pragma once

// The two byte sequences the program looks for inside files. They are assembled at run
// time and never stand whole in any binary: a program that held one as a constant would,
// searching its own file, find that constant instead of the real thing.
constexpr int kSignatureLength = 7;

// 4D 5A 90 00 03 00 00, the start of a standard executable header: where the restorer
// stub begins inside the main program's file.
void MakeRestorerStubSignature(unsigned char (&signature)[kSignatureLength]);

// "BZh91AY": the stream header of a bzip2 stream with 900 kB blocks and the first bytes
// of its first block, where the payload of a self-extracting image begins.
void MakeCompressedStreamSignature(unsigned char (&signature)[kSignatureLength]);
