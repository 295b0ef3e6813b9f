#include "resources/xml/XMLParser.h"

#include "resources/pak/PakFile.h"
#include "resources/xml/XmlEntities.h"
#include "util/StringUtils.h"

namespace Tandry {
namespace {

constexpr size_t kBlockSize = 16384;

// The classic isspace set, tested on the low 8 bits whatever the locale: the
// manifests were written for that test, so U+0120 separates like a blank.
bool IsLowByteSpace(wchar_t c)
{
    const unsigned low = static_cast<unsigned>(c) & 0xFFu;
    return low == ' ' || (low >= '\t' && low <= '\r');
}

// The full-width white space test, as a fixed table instead of the locale's.
bool IsWideSpace(wchar_t c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
           c == 0x3000;
}

bool EndsWith(const std::wstring& text, wchar_t c)
{
    return !text.empty() && text.back() == c;
}

} // namespace

XMLParser::~XMLParser()
{
    Close();
}

void XMLParser::Close()
{
    if (mFile != nullptr) {
        PakClose(mFile);
        mFile = nullptr;
    }
    mBlockPos = 0;
    mBlockEnd = 0;
}

void XMLParser::Fail(const wchar_t* text)
{
    mFailed = true;
    mErrorText = text;
}

bool XMLParser::Open(const std::string& name)
{
    Close();
    mFile = PakOpen(name, "rb");
    if (mFile == nullptr) {
        mFailed = true;
        mErrorText = L"Unable to open file " + WidenString(name);
        mLineNumber = 0;
        return false;
    }
    mBlock.resize(kBlockSize);
    // The first block is kept, so reading starts again at the first byte.
    mBlockEnd = PakRead(mBlock.data(), 1, mBlock.size(), mFile);
    mBlockPos = 0;
    const uint8_t* head = mBlock.data();
    mReader = Reader::Bytes;
    if (mBlockEnd >= 2 && ((head[0] == 0xFF && head[1] == 0xFE) || (head[0] == 0xFE && head[1] == 0xFF)))
        mReader = Reader::Utf16;
    else if (mBlockEnd >= 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF)
        mReader = Reader::Utf8;
    mFileName = name;
    mCurrentPath.clear();
    mPushedBack.clear();
    mLineNumber = 1;
    mFailed = false;
    mErrorText.clear();
    mAtFirstChar = true;
    mSwapBytes = false;
    return true;
}

int XMLParser::ReadByte()
{
    if (mBlockPos == mBlockEnd) {
        mBlockEnd = PakRead(mBlock.data(), 1, mBlock.size(), mFile);
        mBlockPos = 0;
        if (mBlockEnd == 0)
            return -1;
    }
    return mBlock[mBlockPos++];
}

XMLParser::Got XMLParser::ReadChar(wchar_t& c)
{
    if (!mPushedBack.empty()) {
        c = mPushedBack.back();
        mPushedBack.pop_back();
        return Got::Char;
    }
    switch (mReader) {
    case Reader::Bytes:
        return ReadByteChar(c);
    case Reader::Utf8:
        return ReadUtf8Char(c);
    case Reader::Utf16:
        return ReadUtf16Char(c);
    }
    return Got::End;
}

XMLParser::Got XMLParser::ReadByteChar(wchar_t& c)
{
    const int b = ReadByte();
    if (b < 0)
        return Got::End;
    c = static_cast<wchar_t>(b);
    return Got::Char;
}

XMLParser::Got XMLParser::ReadUtf8Char(wchar_t& c)
{
    for (;;) {
        const int lead = ReadByte();
        if (lead < 0)
            return Got::End;
        uint32_t value;
        int continuations;
        if (lead < 0x80) {
            value = static_cast<uint32_t>(lead);
            continuations = 0;
        } else if ((lead & 0xE0) == 0xC0) {
            value = lead & 0x1Fu;
            continuations = 1;
        } else if ((lead & 0xF0) == 0xE0) {
            value = lead & 0x0Fu;
            continuations = 2;
        } else if ((lead & 0xF8) == 0xF0) {
            value = lead & 0x07u;
            continuations = 3;
        } else if ((lead & 0xFC) == 0xF8) {
            value = lead & 0x03u;
            continuations = 4;
        } else {
            return Got::Illegal;
        }
        for (int i = 0; i < continuations; ++i) {
            const int next = ReadByte();
            if (next < 0 || (next & 0xC0) != 0x80)
                return Got::Illegal;
            // Overlong forms show in the second byte.
            if (i == 0 && ((lead == 0xE0 && next < 0xA0) || (lead == 0xF0 && next < 0x90) ||
                           (lead == 0xF8 && next < 0x88)))
                return Got::Illegal;
            value = (value << 6) | (static_cast<uint32_t>(next) & 0x3Fu);
        }
        if (lead == 0xC0 || lead == 0xC1)
            return Got::Illegal;
        if ((value >= 0xD800 && value <= 0xDFFF) || value == 0xFFFE || value == 0xFFFF)
            return Got::Illegal;
        const bool first = mAtFirstChar;
        mAtFirstChar = false;
        if (first && value == 0xFEFF)
            continue;
        // The character type holds 16 bits; higher values keep their low bits.
        c = static_cast<wchar_t>(value & 0xFFFFu);
        return Got::Char;
    }
}

bool XMLParser::ReadUtf16Unit(uint32_t& unit)
{
    const int low = ReadByte();
    if (low < 0)
        return false;
    const int high = ReadByte();
    if (high < 0)
        return false;
    unit = mSwapBytes ? (static_cast<uint32_t>(low) << 8) | static_cast<uint32_t>(high)
                      : (static_cast<uint32_t>(high) << 8) | static_cast<uint32_t>(low);
    return true;
}

XMLParser::Got XMLParser::ReadUtf16Char(wchar_t& c)
{
    uint32_t unit = 0;
    for (;;) {
        if (!ReadUtf16Unit(unit))
            return Got::End;
        if (!mAtFirstChar)
            break;
        mAtFirstChar = false;
        if (unit == 0xFEFF)
            mSwapBytes = false;
        else if (unit == 0xFFFE)
            mSwapBytes = true;
        else
            break;
    }
    if (unit >= 0xD800 && unit <= 0xDFFF) {
        uint32_t second = 0;
        if (!ReadUtf16Unit(second) || second < 0xDC00 || second > 0xDFFF)
            return Got::End;
        // Like the UTF-8 reader, the code point keeps its low 16 bits, so a
        // file reads the same in either encoding.
        const uint32_t codePoint = 0x10000u + ((unit - 0xD800u) << 10) + (second - 0xDC00u);
        c = static_cast<wchar_t>(codePoint & 0xFFFFu);
        return Got::Char;
    }
    c = static_cast<wchar_t>(unit);
    return Got::Char;
}

bool XMLParser::ReadElement(XMLParserElement& element)
{
    if (mFile == nullptr)
        return false;
    for (;;) {
        element.Reset(mCurrentPath);
        int& kind = element.kind;
        std::wstring& value = element.value;
        std::wstring name;
        std::wstring attributeValue;
        std::wstring lastName;
        bool inQuote = false;
        bool pendingSpace = false;
        bool inAttributes = false;
        bool inValue = false;
        bool quoteClosed = false;
        auto addBuffers = [&] {
            element.AddAttribute(DecodeXmlEntities(name), DecodeXmlEntities(attributeValue));
            name.clear();
            attributeValue.clear();
        };

        bool finished = false;
        while (!finished) {
            wchar_t c = 0;
            const Got got = ReadChar(c);
            if (got != Got::Char) {
                if (got == Got::Illegal)
                    Fail(L"Illegal Character");
                if (kind != XMLParserElement::None)
                    Fail(L"Unexpected End of File");
                return false;
            }
            if (c == L'\n')
                ++mLineNumber;

            if (kind == XMLParserElement::Comment) {
                std::wstring& text = element.instruction;
                text += c;
                if (c == L'>' && text.size() > 2 && text.compare(text.size() - 3, 3, L"-->") == 0) {
                    text.resize(text.size() - 3);
                    finished = true;
                }
                continue;
            }
            if (kind == XMLParserElement::Instruction) {
                std::wstring& target = !element.instruction.empty() || IsWideSpace(c) ? element.instruction : value;
                target += c;
                if (c == L'>' && target.size() >= 2 && target[target.size() - 2] == L'?') {
                    target.resize(target.size() - 2);
                    finished = true;
                }
                continue;
            }

            if (c == L'"') {
                inQuote = !inQuote;
                if (!inQuote)
                    quoteClosed = true;
                if (kind == XMLParserElement::Start || kind == XMLParserElement::End)
                    continue;
            } else if (!inQuote) {
                if (c == L'<') {
                    if (kind == XMLParserElement::Text) {
                        mPushedBack.push_back(c);
                        finished = true;
                    } else if (kind == XMLParserElement::None) {
                        kind = XMLParserElement::Start;
                    } else {
                        Fail(L"Unexpected '<'");
                        return false;
                    }
                    continue;
                }
                if (c == L'>') {
                    if (kind == XMLParserElement::Start) {
                        quoteClosed = false;
                        bool selfClosing = false;
                        if (name == L"/") {
                            selfClosing = true;
                        } else {
                            if (!name.empty()) {
                                lastName = DecodeXmlEntities(name);
                                element.AddAttribute(lastName, DecodeXmlEntities(attributeValue));
                                name.clear();
                                attributeValue.clear();
                            }
                            if (lastName.empty()) {
                                if (EndsWith(value, L'/')) {
                                    value.pop_back();
                                    selfClosing = true;
                                }
                            } else {
                                // The last value is replaced in place: the
                                // attribute keeps its one place in the order.
                                auto last = element.attributes.find(lastName);
                                if (last != element.attributes.end() && EndsWith(last->second, L'/')) {
                                    last->second.pop_back();
                                    last->second = DecodeXmlEntities(last->second);
                                    selfClosing = true;
                                }
                            }
                        }
                        if (selfClosing) {
                            // "</name>" is read next and closes the element.
                            mPushedBack.push_back(L'>');
                            mPushedBack.insert(mPushedBack.end(), value.rbegin(), value.rend());
                            mPushedBack.push_back(L'/');
                            mPushedBack.push_back(L'<');
                            name.clear();
                        }
                        if (!mCurrentPath.empty())
                            mCurrentPath += L'/';
                        mCurrentPath += value;
                    } else if (kind == XMLParserElement::End) {
                        const size_t slash = mCurrentPath.rfind(L'/');
                        if (slash == std::wstring::npos && mCurrentPath.empty()) {
                            Fail(L"Unexpected End");
                            return false;
                        }
                        const size_t start = slash == std::wstring::npos ? 0 : slash + 1;
                        if (mCurrentPath.compare(start, std::wstring::npos, value) != 0) {
                            mErrorText = L"End '" + value + L"' Doesn't Match Start '" + mCurrentPath.substr(start) + L"'";
                            mFailed = true;
                            return false;
                        }
                        mCurrentPath.erase(slash == std::wstring::npos ? 0 : slash);
                    } else {
                        Fail(L"Unexpected '>'");
                        return false;
                    }
                    finished = true;
                    continue;
                }
                if (kind == XMLParserElement::Start && value.empty() && (c == L'/' || c == L'?')) {
                    kind = c == L'/' ? XMLParserElement::End : XMLParserElement::Instruction;
                    continue;
                }
                if (IsLowByteSpace(c)) {
                    if (!value.empty())
                        pendingSpace = true;
                    if (kind == XMLParserElement::Start && value == L"!--")
                        kind = XMLParserElement::Comment;
                    continue;
                }
                if (c < 0x21) {
                    Fail(L"Illegal Character");
                    return false;
                }
            }

            // Store the character.
            if (kind == XMLParserElement::None)
                kind = XMLParserElement::Text;
            if (kind == XMLParserElement::Start) {
                // Inside quotes "=" is an ordinary character.
                const bool equals = c == L'=' && !inQuote;
                if (pendingSpace) {
                    bool complete = false;
                    if (!inAttributes) {
                        inAttributes = true;
                        inValue = false;
                    } else if (!inValue) {
                        complete = !equals;
                    } else {
                        complete = !attributeValue.empty() || quoteClosed;
                    }
                    if (complete) {
                        addBuffers();
                        lastName.clear();
                        inValue = false;
                    }
                    pendingSpace = false;
                }
                if (inAttributes && equals) {
                    inValue = true;
                    quoteClosed = false;
                } else if (inValue) {
                    attributeValue += c;
                } else if (inAttributes) {
                    name += c;
                } else {
                    value += c;
                }
            } else {
                if (pendingSpace) {
                    value += L' ';
                    pendingSpace = false;
                }
                value += c;
            }
        }

        if (!name.empty())
            addBuffers();
        value = DecodeXmlEntities(value);
        if (kind != XMLParserElement::Comment)
            return true;
    }
}

} // namespace Tandry
