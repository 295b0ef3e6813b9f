#include "resources/pak/PakFileHandle.h"

#include "platform/fs/FileOps.h"
#include "resources/pak/PakScramble.h"

#include <algorithm>
#include <limits>

namespace Tandry {
namespace {

constexpr int kCarriageReturn = 13;

int64_t SaturatingAdd(int64_t a, int64_t b)
{
    int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    return sum;
}

int64_t SaturatingSub(int64_t a, int64_t b)
{
    int64_t difference = 0;
    if (__builtin_sub_overflow(a, b, &difference))
        return b < 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    return difference;
}

} // namespace

PakFileHandle::PakFileHandle(const PakRecord& member) : record(&member), file(nullptr) {}

PakFileHandle::PakFileHandle(FILE* loose) : record(nullptr), file(loose) {}

PakFileHandle::~PakFileHandle()
{
    if (file != nullptr)
        std::fclose(file);
}

PakFileHandle* PakFileHandle::OpenLoose(const std::string& name, const char* mode)
{
    FILE* loose = Platform::OpenFile(name, mode);
    return loose == nullptr ? nullptr : new PakFileHandle(loose);
}

int64_t PakFileHandle::Remaining() const
{
    const int64_t size = static_cast<int64_t>(record->size);
    return mPosition < size ? size - mPosition : 0;
}

size_t PakFileHandle::Read(void* buffer, size_t elementSize, size_t count)
{
    if (file != nullptr)
        return std::fread(buffer, elementSize, count, file);
    if (elementSize == 0)
        return 0;
    const uint64_t remaining = static_cast<uint64_t>(Remaining());
    size_t wanted = 0;
    if (__builtin_mul_overflow(elementSize, count, &wanted) || wanted >= remaining)
        wanted = static_cast<size_t>(remaining);
    if (wanted > 0) {
        PakXorCopy(static_cast<uint8_t*>(buffer),
            record->collection->view + record->start + static_cast<uint64_t>(mPosition), wanted);
        mPosition += static_cast<int64_t>(wanted);
    }
    return wanted / elementSize;
}

int PakFileHandle::Seek(int64_t offset, int origin)
{
    if (file != nullptr)
        return fseeko(file, static_cast<off_t>(offset), origin);
    const int64_t size = static_cast<int64_t>(record->size);
    int64_t position = mPosition;
    if (origin == 0)
        position = offset;
    else if (origin == 1)
        position = SaturatingAdd(position, offset);
    else if (origin == 2)
        position = SaturatingSub(size, offset);
    mPosition = std::clamp<int64_t>(position, 0, size);
    return 0;
}

int64_t PakFileHandle::Tell() const
{
    if (file != nullptr)
        return ftello(file);
    return mPosition;
}

int PakFileHandle::GetChar()
{
    if (file != nullptr)
        return std::fgetc(file);
    const uint8_t* data = record->collection->view + record->start;
    while (Remaining() > 0) {
        const int c = data[mPosition++] ^ kPakXorKey;
        if (c != kCarriageReturn)
            return c;
    }
    return -1;
}

int PakFileHandle::UngetChar(int c)
{
    if (file != nullptr)
        return std::ungetc(c, file);
    mPosition = std::max<int64_t>(mPosition - 1, 0);
    return c;
}

char* PakFileHandle::GetLine(char* buffer, int maximum)
{
    if (maximum <= 0)
        return nullptr;
    if (file != nullptr)
        return std::fgets(buffer, maximum, file);
    int stored = 0;
    while (stored < maximum - 1) {
        const int c = GetChar();
        if (c < 0) {
            if (stored == 0)
                return nullptr;
            break;
        }
        buffer[stored++] = static_cast<char>(c);
        if (c == '\n')
            break;
    }
    buffer[stored] = '\0';
    return buffer;
}

bool PakFileHandle::AtEnd() const
{
    if (file != nullptr)
        return std::feof(file) != 0;
    return Remaining() == 0;
}

} // namespace Tandry
