// One open file of the file layer: a member of a pack or a loose file on
// disk. Every stream operation asks once which of the two it is, so the pack
// and disk behaviours sit side by side here and nowhere else. Callers treat a
// handle as opaque, except that one may test record and read record->size to
// learn that a file lies in a pack and how large it is.
#pragma once

#include "resources/pak/PakRecord.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace Tandry {

class PakFileHandle {
public:
    // Reads the member straight out of its pack; the record outlives the handle.
    explicit PakFileHandle(const PakRecord& member);
    // Owns the stream and closes it with the handle.
    explicit PakFileHandle(FILE* loose);
    ~PakFileHandle();
    PakFileHandle(const PakFileHandle&) = delete;
    PakFileHandle& operator=(const PakFileHandle&) = delete;

    // The file on disk through the platform's resolver, in any mode; null when
    // it does not open.
    static PakFileHandle* OpenLoose(const std::string& name, const char* mode);

    // Number of whole elements read; a partly read element still moves the
    // position. Element size 0 reads nothing.
    size_t Read(void* buffer, size_t elementSize, size_t count);
    // Origins 0 start, 1 current, 2 end. A pack member moves back from its
    // end by a positive offset at origin 2 and clamps to 0..size; a loose
    // file answers as fseek does.
    int Seek(int64_t offset, int origin);
    int64_t Tell() const;
    // 0..255, or -1 at the end. A pack member never delivers a CR.
    int GetChar();
    // A pack member steps back one byte (never before 0) and answers c; the
    // byte read next is the one stepped over, not c.
    int UngetChar(int c);
    // fgets; a pack member drops CRs. Null at the end when nothing was read.
    char* GetLine(char* buffer, int maximum);
    // A pack member at its size; a loose file once a read has met the end.
    bool AtEnd() const;

    // Exactly one of the two is set: the pack member, or the loose stream.
    const PakRecord* const record;
    FILE* const file;

private:
    int64_t Remaining() const;

    int64_t mPosition = 0;   // within the record, 0..size
};

} // namespace Tandry
