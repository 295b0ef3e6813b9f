// Reading the manifest: its elements become records, filed by id and by group.
#include "resources/manager/ResourceManager.h"

#include "resources/manager/ResourceHost.h"
#include "resources/pak/FileUtils.h"
#include "resources/xml/XMLParser.h"
#include "util/Format.h"
#include "util/PathUtils.h"
#include "util/StringUtils.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

namespace Tandry {
namespace {

// More cels on a side than this only cost memory: a frame order or a delay
// list as long as the count would be built from a few digits.
constexpr int kMaxCelsPerSide = 65536;

bool IsClassicSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// A message may quote any text of the file; a character that has no narrow
// form becomes "?" instead of emptying the message.
std::string MessageText(const std::wstring& text)
{
    std::string narrow;
    narrow.reserve(text.size());
    for (wchar_t c : text)
        narrow += c > 0 && c <= 0xFF ? static_cast<char>(c) : '?';
    return narrow;
}

// "%x": white space, a sign, an optional 0x, hexadecimal digits. False when
// there is no digit; a longer number stops at 0xFFFFFFFF.
bool ParseHex(const std::string& text, uint32_t& out)
{
    size_t i = 0;
    while (i < text.size() && IsClassicSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        IsHexDigit(text[i + 2]))
        i += 2;
    uint64_t value = 0;
    size_t digits = 0;
    for (; i < text.size(); ++i, ++digits) {
        if (!IsHexDigit(text[i]))
            break;
        value = std::min<uint64_t>(value * 16 + static_cast<uint64_t>(HexDigitValue(text[i])), 0xFFFFFFFFu);
    }
    if (digits == 0)
        return false;
    out = negative ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    return true;
}

// "%lf" in the C locale; false when no finite number starts the text.
bool ParseReal(const std::string& text, double& out)
{
    size_t i = 0;
    while (i < text.size() && IsClassicSpace(text[i]))
        ++i;
    if (i < text.size() && text[i] == '+' && (i + 1 >= text.size() || text[i + 1] != '-'))
        ++i;
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data() + i, text.data() + text.size(), value);
    if (error != std::errc() || end == text.data() + i || !std::isfinite(value))
        return false;
    out = value;
    return true;
}

} // namespace

bool ResourceManager::ParseResourcesFile(const std::string& fileName)
{
    mParser = std::make_unique<XMLParser>();
    if (!mParser->Open(fileName)) {
        Fail("Resource file not found: " + fileName);
        mParser.reset();
        return false;
    }

    XMLParserElement element;
    bool foundStart = false;
    while (mParser->ReadElement(element)) {
        if (element.kind == XMLParserElement::Start) {
            foundStart = true;
            break;
        }
    }
    if (mParser->HasFailed())
        Fail(MessageText(mParser->GetErrorText()));
    // A wrong root is reported, but the body is still read.
    if (!foundStart || element.value != L"ResourceManifest")
        Fail("Expecting ResourceManifest tag");

    if (!mParser->HasFailed()) {
        while (mParser->ReadElement(element)) {
            if (element.kind == XMLParserElement::Start) {
                if (element.value != L"Resources") {
                    Fail("Invalid Section '" + MessageText(element.value) + "'");
                    break;
                }
                const auto id = element.attributes.find(L"id");
                mCurrentGroup = id == element.attributes.end() ? std::string() : WideToNarrow(id->second);
                mCurrentGroupList = &mGroups[mCurrentGroup];
                if (mCurrentGroup.empty()) {
                    Fail("No id specified.");
                    break;
                }
                if (!ParseResources(element))
                    break;
            } else if (element.kind == XMLParserElement::Text) {
                Fail("Element Not Expected '" + MessageText(element.value) + "'");
                break;
            }
        }
        // A manifest cut between two tags ends without a reader error; what
        // followed the cut would be missing without a word.
        if (!mParser->HasFailed() && !mParser->GetCurrentPath().empty())
            Fail("Unexpected End of File");
    }
    if (mParser->HasFailed())
        Fail(MessageText(mParser->GetErrorText()));
    mParser.reset();
    // The load position belongs to the group a load started; walking it
    // against the list read last would leave that list.
    mCurrentGroupList = nullptr;
    return !mHasFailed;
}

bool ResourceManager::ParseResources(const XMLParserElement& /*element*/)
{
    XMLParserElement child;
    for (;;) {
        if (!mParser->ReadElement(child))
            return false;
        if (child.kind == XMLParserElement::Start) {
            bool parsed;
            if (child.value == L"Image")
                parsed = ParseImageResource(child);
            else if (child.value == L"Sound")
                parsed = ParseSoundResource(child);
            else if (child.value == L"Font")
                parsed = ParseFontResource(child);
            else if (child.value == L"SetDefaults")
                parsed = ParseSetDefaults(child);
            else
                return Fail("Invalid Section '" + MessageText(child.value) + "'");
            if (!parsed)
                return false;
            if (!mParser->ReadElement(child))
                return false;
            if (child.kind != XMLParserElement::End)
                return Fail("Unexpected element found.");
        } else if (child.kind == XMLParserElement::Text) {
            return Fail("Element Not Expected '" + MessageText(child.value) + "'");
        } else if (child.kind == XMLParserElement::End) {
            return true;
        }
    }
}

bool ResourceManager::ParseCommonResAttributes(const XMLParserElement& element, BaseRes* record, ResourceMap& map)
{
    const auto path = element.attributes.find(L"path");
    if (path == element.attributes.end() || path->second.empty())
        return Fail("No path specified.");
    record->suppliedByCode = false;
    if (path->second[0] == L'!') {
        record->path = WideToNarrow(path->second);
        record->suppliedByCode = path->second == L"!program";
    } else {
        record->path = mDefaultPath + WideToNarrow(path->second);
    }
    record->attributes = element.attributes;
    const auto id = element.attributes.find(L"id");
    record->id = mDefaultIdPrefix + (id != element.attributes.end() ? WideToNarrow(id->second)
                                                                     : GetBaseFileName(record->path));
    record->group = mCurrentGroup;
    if (!map.emplace(record->id, record).second)
        return Fail("Resource already defined.");
    if (mCurrentGroupList == nullptr)
        mCurrentGroupList = &mGroups[mCurrentGroup];
    mCurrentGroupList->push_back(record);
    return true;
}

bool ResourceManager::ParseImageResource(const XMLParserElement& element)
{
    auto* record = new ImageRes;
    if (!ParseCommonResAttributes(element, record, mImageMap)) {
        delete record;
        return false;
    }
    const auto& attributes = element.attributes;
    auto has = [&](const wchar_t* name) { return attributes.find(name) != attributes.end(); };
    auto text = [&](const wchar_t* name) {
        const auto found = attributes.find(name);
        return found == attributes.end() ? std::string() : WideToNarrow(found->second);
    };

    record->palletize = !has(L"nopal");
    record->a4r4g4b4 = has(L"a4r4g4b4");
    record->ddSurface = has(L"ddsurface");
    record->a8r8g8b8 = has(L"a8r8g8b8");
    record->minSubdivide = has(L"minsubdivide");
    const bool display3D = mApp != nullptr && mApp->IsResourceDisplay3D();
    record->noBits = has(L"nobits") || (has(L"nobits3d") && display3D) || (has(L"nobits2d") && !display3D);
    record->autoFindAlpha = !has(L"noalpha");

    if (has(L"alphaimage"))
        record->alphaImage = mDefaultPath + text(L"alphaimage");
    if (has(L"alphacolor"))
        ParseHex(text(L"alphacolor"), record->alphaColor);
    if (has(L"variant"))
        record->variant = text(L"variant");
    if (has(L"alphagrid"))
        record->alphaGridImage = mDefaultPath + text(L"alphagrid");
    // The cel size divides the image by rows and columns: a count below 1
    // would divide by zero or give negative cels.
    auto celCount = [&](const wchar_t* name, int& out) {
        if (!has(name))
            return;
        const int value = ParseLeadingInt(text(name));
        out = std::clamp(value, 1, kMaxCelsPerSide);
        if (out != value)
            DebugPrintf(L"Image %S: %s %d is out of range, %d is used\n", record->id.c_str(), name, value, out);
    };
    celCount(L"rows", record->rows);
    celCount(L"cols", record->cols);

    AnimInfo& animation = record->animation;
    if (!has(L"anim"))
        return true;
    const std::string type = LowerCaseCopy(text(L"anim"));
    if (type == "none")
        animation.type = AnimInfo::None;
    else if (type == "once")
        animation.type = AnimInfo::Once;
    else if (type == "loop")
        animation.type = AnimInfo::Loop;
    else if (type == "pingpong")
        animation.type = AnimInfo::PingPong;
    else
        return Fail("Invalid animation type.");
    if (animation.type == AnimInfo::None)
        return true;
    if (has(L"framedelay"))
        animation.frameDelay = ParseLeadingInt(text(L"framedelay"));
    const int beginDelay = has(L"begindelay") ? ParseLeadingInt(text(L"begindelay")) : 0;
    const int endDelay = has(L"enddelay") ? ParseLeadingInt(text(L"enddelay")) : 0;
    if (has(L"perframedelay"))
        ParseIntList(animation.frameDelays, text(L"perframedelay"));
    if (has(L"framemap"))
        ParseIntList(animation.frameOrder, text(L"framemap"));
    animation.Setup(std::max(record->rows, record->cols), beginDelay, endDelay);
    return true;
}

bool ResourceManager::ParseSoundResource(const XMLParserElement& element)
{
    auto* record = new SoundRes(mApp);
    if (!ParseCommonResAttributes(element, record, mSoundMap)) {
        delete record;
        return false;
    }
    const auto volume = element.attributes.find(L"volume");
    if (volume != element.attributes.end())
        ParseReal(WideToNarrow(volume->second), record->volume);
    const auto pan = element.attributes.find(L"pan");
    if (pan != element.attributes.end())
        record->pan = ParseLeadingInt(WideToNarrow(pan->second));
    return true;
}

bool ResourceManager::ParseFontResource(const XMLParserElement& element)
{
    auto* record = new FontRes;
    if (!ParseCommonResAttributes(element, record, mFontMap)) {
        delete record;
        return false;
    }
    const auto& attributes = element.attributes;
    auto has = [&](const wchar_t* name) { return attributes.find(name) != attributes.end(); };
    if (has(L"image"))
        record->imagePath = WideToNarrow(attributes.at(L"image"));
    if (has(L"tags"))
        record->tags = WideToNarrow(attributes.at(L"tags"));
    if (record->path.compare(0, 5, "!sys:") != 0) {
        record->sysFont = false;
        return true;
    }
    record->sysFont = true;
    record->path.erase(0, 5);
    if (has(L"size"))
        record->size = ParseLeadingInt(WideToNarrow(attributes.at(L"size")));
    if (record->size <= 0)
        return Fail("SysFont needs point size");
    record->bold = has(L"bold");
    record->italic = has(L"italic");
    record->shadow = has(L"shadow");
    record->underline = has(L"underline");
    return true;
}

bool ResourceManager::ParseSetDefaults(const XMLParserElement& element)
{
    const auto path = element.attributes.find(L"path");
    if (path != element.attributes.end()) {
        // An empty path returns to the data root rather than to "/".
        const std::string folder = StripTrailingSlash(WideToNarrow(path->second));
        mDefaultPath = folder.empty() ? std::string() : folder + "/";
    }
    const auto prefix = element.attributes.find(L"idprefix");
    if (prefix != element.attributes.end())
        mDefaultIdPrefix = StripTrailingSlash(WideToNarrow(prefix->second));
    return true;
}

} // namespace Tandry
