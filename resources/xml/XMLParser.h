// The framework's own small streaming XML reader: one file through the file
// layer, one element at a time, with the path of open elements checked
// against the end tags. 8-bit, UTF-8 and UTF-16 files, chosen by their
// byte-order mark. The resource manager reads its manifest with it.
#pragma once

#include "resources/xml/XMLParserElement.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Tandry {

class PakFileHandle;

class XMLParser {
public:
    XMLParser() = default;
    XMLParser(const XMLParser&) = delete;
    XMLParser& operator=(const XMLParser&) = delete;
    virtual ~XMLParser();

    // Opens the file and picks the reader by its first bytes. False, with
    // "Unable to open file <name>" and line 0, when it does not open.
    bool Open(const std::string& name);
    // The next element; false at the end or on an error (HasFailed tells).
    bool ReadElement(XMLParserElement& element);

    bool HasFailed() const { return mFailed; }
    std::wstring GetErrorText() const { return mErrorText; }
    int GetLineNumber() const { return mLineNumber; }
    std::string GetFileName() const { return mFileName; }
    // The names of the open elements, outermost first, joined by "/".
    const std::wstring& GetCurrentPath() const { return mCurrentPath; }

private:
    enum class Reader { Bytes, Utf8, Utf16 };
    enum class Got { Char, End, Illegal };

    void Close();
    void Fail(const wchar_t* text);
    int ReadByte();
    Got ReadChar(wchar_t& c);
    Got ReadByteChar(wchar_t& c);
    Got ReadUtf8Char(wchar_t& c);
    Got ReadUtf16Char(wchar_t& c);
    bool ReadUtf16Unit(uint32_t& unit);

    std::string mFileName;
    std::wstring mErrorText;
    int mLineNumber = 0;
    PakFileHandle* mFile = nullptr;
    bool mFailed = false;
    // Read before the file; the last one pushed comes first.
    std::vector<wchar_t> mPushedBack;
    std::wstring mCurrentPath;
    Reader mReader = Reader::Utf8;
    bool mAtFirstChar = false;
    bool mSwapBytes = false;

    // Raw bytes of the file, read in blocks: the file layer's character
    // reading drops the CRs of pack members, which would break UTF-16.
    std::vector<uint8_t> mBlock;
    size_t mBlockPos = 0;
    size_t mBlockEnd = 0;
};

} // namespace Tandry
