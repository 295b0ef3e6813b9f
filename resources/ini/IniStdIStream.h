// The byte input of IniDocument::LoadStream: a standard input stream read as
// raw bytes. Start() drops a two-byte byte-order mark when asked; a stream
// that has failed reads as empty. IniStdIFile is the one over a disk file.
#pragma once

#include <cstddef>
#include <istream>

namespace Tandry {

class IniStdIStream {
public:
    explicit IniStdIStream(std::istream& in) : mIn(&in) {}
    virtual ~IniStdIStream() = default;
    IniStdIStream(const IniStdIStream&) = delete;
    IniStdIStream& operator=(const IniStdIStream&) = delete;

    // Reads and drops two bytes when skipBom is set and the stream is good.
    virtual void Start(bool skipBom);

    // Up to size bytes; 0 at the end or once the stream has failed.
    size_t Read(char* buffer, size_t size);
    bool Failed() const;

protected:
    // For derived streams that own their std::istream and attach it later.
    IniStdIStream() = default;
    void Attach(std::istream& in) { mIn = &in; }

private:
    std::istream* mIn = nullptr;
};

} // namespace Tandry
