#include "resources/ini/IniStdIStream.h"

namespace Tandry {

void IniStdIStream::Start(bool skipBom)
{
    if (skipBom && !Failed()) {
        char bom[2];
        Read(bom, sizeof bom);
    }
}

size_t IniStdIStream::Read(char* buffer, size_t size)
{
    if (Failed())
        return 0;
    mIn->read(buffer, std::streamsize(size));
    return size_t(mIn->gcount());
}

bool IniStdIStream::Failed() const
{
    // Reaching the end sets failbit too; only an open or read error counts,
    // and both leave nothing more to read.
    return !mIn || mIn->bad() || (mIn->fail() && !mIn->eof());
}

} // namespace Tandry
