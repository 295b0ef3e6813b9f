// The effects file format, one statement per line, words separated by spaces
// or tabs. Blank lines and lines whose first word starts with '#' are skipped.
//
//   file      = "PTC1" newline { statement }          (the magic line comes first)
//   statement = texture | folder | emitter             (in the root and in folders)
//   texture   = "texture" id shape size argb
//                 id: 1..65535, unique in the file; shape: disc | soft | ring | square;
//                 size: 1..256 pixels (square); argb: 8 hex digits
//   folder    = "folder" name { statement } "end"     (nesting up to 16 deep)
//   emitter   = "emitter" name { setting } "end"
//   setting   = "position" x y
//             | "duration" ms | "duration" "endless"   (ms 0..3600000)
//             | "loop" 0|1|2
//             | "interpolation" 0|1 update-ms           (update-ms 1..1000)
//             | type
//   type      = "type" { property } "end"             (1..16 types per emitter)
//   property  = "textures" id { id }                  (1..100 ids, each defined in the file)
//             | "intensive" 0|1
//             | "rate" per-second                     (0..10000)
//             | "lifetime" min-ms max-ms              (1..600000, min <= max)
//             | "speed" min max                       (pixels per second, -10000..10000)
//             | "direction" degrees spread-degrees    (-3600..3600, 0..360)
//             | "size" start end                      (pixels, 0..4096)
//             | "spin" min max                        (degrees per second, -36000..36000)
//             | "color" start-argb end-argb
//
// A name is one word of at most 63 bytes. Every emitter needs a type and
// every type its textures. Numbers are decimal (a fraction and sign allowed
// where the value is not a count); anything else refuses the file.
#include "platform/particlelib/PtcParser.h"

#include <charconv>
#include <cmath>
#include <string_view>
#include <vector>

namespace Platform {

const PtcTexture* PtcFile::FindTexture(uint32_t id) const
{
    for (const PtcTexture& t : textures) {
        if (t.id == id)
            return &t;
    }
    return nullptr;
}

namespace {

constexpr std::string_view kMagic = "PTC1";

class Parser {
public:
    Parser(std::span<const uint8_t> bytes, PtcFile& out) : mText(reinterpret_cast<const char*>(bytes.data()), bytes.size()), mOut(out) {}

    bool Run(std::string& error);

private:
    enum class Block { Folder, Emitter, Type };

    bool Fail(const std::string& why)
    {
        mError = "line " + std::to_string(mLine) + ": " + why;
        return false;
    }

    bool NextLine(std::vector<std::string_view>& words);
    bool Statement(const std::vector<std::string_view>& words);
    bool FolderStatement(const std::vector<std::string_view>& words);
    bool EmitterSetting(const std::vector<std::string_view>& words);
    bool TypeProperty(const std::vector<std::string_view>& words);
    bool End();

    bool Float(std::string_view word, float lo, float hi, float& out);
    bool Int(std::string_view word, int lo, int hi, int& out);
    bool Argb(std::string_view word, uint32_t& out);
    bool Name(const std::vector<std::string_view>& words, std::string& out);
    bool Count(const std::vector<std::string_view>& words, size_t n);

    std::string_view mText;
    size_t mPos = 0;
    int mLine = 0;
    PtcFile& mOut;
    std::string mError;
    std::vector<Block> mBlocks;
    // The folders open at the moment, innermost last (folder 0 is the root).
    std::vector<size_t> mFolderPath{0};
};

bool Parser::NextLine(std::vector<std::string_view>& words)
{
    words.clear();
    if (mPos >= mText.size())
        return false;
    size_t end = mText.find('\n', mPos);
    if (end == std::string_view::npos)
        end = mText.size();
    std::string_view line = mText.substr(mPos, end - mPos);
    mPos = end + 1;
    ++mLine;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
            ++i;
        if (i > start)
            words.push_back(line.substr(start, i - start));
    }
    return true;
}

bool Parser::Float(std::string_view word, float lo, float hi, float& out)
{
    double v = 0.0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (ec != std::errc() || end != word.data() + word.size() || !std::isfinite(v) || v < lo || v > hi)
        return Fail("\"" + std::string(word) + "\" is not a number in " + std::to_string(lo) + ".." +
                    std::to_string(hi));
    out = static_cast<float>(v);
    return true;
}

bool Parser::Int(std::string_view word, int lo, int hi, int& out)
{
    int v = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (ec != std::errc() || end != word.data() + word.size() || v < lo || v > hi)
        return Fail("\"" + std::string(word) + "\" is not a whole number in " + std::to_string(lo) + ".." +
                    std::to_string(hi));
    out = v;
    return true;
}

bool Parser::Argb(std::string_view word, uint32_t& out)
{
    uint32_t v = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v, 16);
    if (word.size() != 8 || ec != std::errc() || end != word.data() + word.size())
        return Fail("\"" + std::string(word) + "\" is not an ARGB colour of 8 hex digits");
    out = v;
    return true;
}

bool Parser::Count(const std::vector<std::string_view>& words, size_t n)
{
    if (words.size() != n)
        return Fail("\"" + std::string(words[0]) + "\" takes " + std::to_string(n - 1) + " value(s)");
    return true;
}

bool Parser::Name(const std::vector<std::string_view>& words, std::string& out)
{
    if (!Count(words, 2))
        return false;
    if (words[1].size() > PtcLimits::kMaxNameLength)
        return Fail("the name is longer than 63 bytes");
    out = std::string(words[1]);
    return true;
}

bool Parser::FolderStatement(const std::vector<std::string_view>& words)
{
    const std::string_view key = words[0];
    PtcFolder& current = mOut.folders[mFolderPath.back()];
    if (key == "texture") {
        if (!Count(words, 5))
            return false;
        if (mOut.textures.size() >= PtcLimits::kMaxTextures)
            return Fail("more than 256 textures");
        PtcTexture t;
        int id = 0;
        if (!Int(words[1], 1, 65535, id) || !Int(words[3], 1, PtcLimits::kMaxTextureSize, t.size) || !Argb(words[4], t.argb))
            return false;
        t.id = static_cast<uint32_t>(id);
        if (mOut.FindTexture(t.id))
            return Fail("texture " + std::to_string(id) + " is defined twice");
        const std::string_view shape = words[2];
        if (shape == "disc")
            t.shape = PtcShape::HardDisc;
        else if (shape == "soft")
            t.shape = PtcShape::SoftDisc;
        else if (shape == "ring")
            t.shape = PtcShape::Ring;
        else if (shape == "square")
            t.shape = PtcShape::Square;
        else
            return Fail("unknown shape \"" + std::string(shape) + "\"");
        mOut.textures.push_back(t);
        return true;
    }
    if (key == "folder") {
        PtcFolder folder;
        if (!Name(words, folder.name))
            return false;
        if (mOut.folders.size() > PtcLimits::kMaxFolders)
            return Fail("more than 256 folders");
        if (mFolderPath.size() > PtcLimits::kMaxFolderDepth)
            return Fail("folders nested more than 16 deep");
        current.entries.push_back({true, mOut.folders.size()});
        mFolderPath.push_back(mOut.folders.size());
        mOut.folders.push_back(std::move(folder));
        mBlocks.push_back(Block::Folder);
        return true;
    }
    if (key == "emitter") {
        PtcEmitter emitter;
        if (!Name(words, emitter.name))
            return false;
        if (mOut.emitters.size() >= PtcLimits::kMaxEmitters)
            return Fail("more than 256 emitters");
        current.entries.push_back({false, mOut.emitters.size()});
        mOut.emitters.push_back(std::move(emitter));
        mBlocks.push_back(Block::Emitter);
        return true;
    }
    return Fail("\"" + std::string(key) + "\" does not belong in a folder");
}

bool Parser::EmitterSetting(const std::vector<std::string_view>& words)
{
    const std::string_view key = words[0];
    PtcEmitter& e = mOut.emitters.back();
    if (key == "position")
        return Count(words, 3) && Float(words[1], -100000, 100000, e.x) && Float(words[2], -100000, 100000, e.y);
    if (key == "duration") {
        if (!Count(words, 2))
            return false;
        if (words[1] == "endless") {
            e.durationMs = -1;
            return true;
        }
        return Int(words[1], 0, 3600000, e.durationMs);
    }
    if (key == "loop")
        return Count(words, 2) && Int(words[1], 0, 2, e.loopMode);
    if (key == "interpolation") {
        int on = 0;
        if (!Count(words, 3) || !Int(words[1], 0, 1, on) || !Int(words[2], 1, 1000, e.updateMs))
            return false;
        e.interpolation = on != 0;
        return true;
    }
    if (key == "type") {
        if (!Count(words, 1))
            return false;
        if (e.types.size() >= PtcLimits::kMaxTypesPerEmitter)
            return Fail("more than 16 particle types in an emitter");
        e.types.emplace_back();
        mBlocks.push_back(Block::Type);
        return true;
    }
    return Fail("\"" + std::string(key) + "\" does not belong in an emitter");
}

bool Parser::TypeProperty(const std::vector<std::string_view>& words)
{
    const std::string_view key = words[0];
    PtcParticleType& t = mOut.emitters.back().types.back();
    auto pair = [&](float lo, float hi, float& a, float& b) {
        return Count(words, 3) && Float(words[1], lo, hi, a) && Float(words[2], lo, hi, b);
    };
    if (key == "textures") {
        if (words.size() < 2 || words.size() - 1 > PtcLimits::kMaxTexturesPerType)
            return Fail("\"textures\" takes 1 to 100 ids");
        t.textures.clear();
        for (size_t i = 1; i < words.size(); ++i) {
            int id = 0;
            if (!Int(words[i], 1, 65535, id))
                return false;
            t.textures.push_back(static_cast<uint32_t>(id));
        }
        return true;
    }
    if (key == "intensive") {
        int on = 0;
        if (!Count(words, 2) || !Int(words[1], 0, 1, on))
            return false;
        t.intensive = on != 0;
        return true;
    }
    if (key == "rate")
        return Count(words, 2) && Float(words[1], 0, 10000, t.rate);
    if (key == "lifetime") {
        if (!pair(1, 600000, t.lifetimeMin, t.lifetimeMax))
            return false;
        return t.lifetimeMin <= t.lifetimeMax || Fail("the shortest lifetime is longer than the longest");
    }
    if (key == "speed")
        return pair(-10000, 10000, t.speedMin, t.speedMax);
    if (key == "direction")
        return Count(words, 3) && Float(words[1], -3600, 3600, t.direction) && Float(words[2], 0, 360, t.spread);
    if (key == "size")
        return pair(0, 4096, t.sizeStart, t.sizeEnd);
    if (key == "spin")
        return pair(-36000, 36000, t.spinMin, t.spinMax);
    if (key == "color")
        return Count(words, 3) && Argb(words[1], t.colorStart) && Argb(words[2], t.colorEnd);
    return Fail("\"" + std::string(key) + "\" does not belong in a particle type");
}

bool Parser::End()
{
    if (mBlocks.empty())
        return Fail("\"end\" without a block");
    const Block block = mBlocks.back();
    mBlocks.pop_back();
    switch (block) {
    case Block::Folder:
        mFolderPath.pop_back();
        return true;
    case Block::Emitter:
        return !mOut.emitters.back().types.empty() || Fail("an emitter without a particle type");
    case Block::Type:
        return !mOut.emitters.back().types.back().textures.empty() || Fail("a particle type without textures");
    }
    return true;
}

bool Parser::Statement(const std::vector<std::string_view>& words)
{
    if (words[0] == "end")
        return Count(words, 1) && End();
    if (mBlocks.empty() || mBlocks.back() == Block::Folder)
        return FolderStatement(words);
    if (mBlocks.back() == Block::Emitter)
        return EmitterSetting(words);
    return TypeProperty(words);
}

bool Parser::Run(std::string& error)
{
    bool ok = true;
    std::vector<std::string_view> words;
    if (mText.size() > PtcLimits::kMaxFileBytes) {
        ok = Fail("the file is larger than 1 MiB");
    } else if (!NextLine(words) || words.size() != 1 || words[0] != kMagic) {
        ok = Fail("the first line is not \"PTC1\"");
    } else {
        mOut.folders.push_back(PtcFolder{});
        while (ok && NextLine(words)) {
            if (!words.empty() && words[0][0] != '#')
                ok = Statement(words);
        }
        if (ok && !mBlocks.empty())
            ok = Fail("a block is not closed with \"end\"");
        for (size_t i = 0; ok && i < mOut.emitters.size(); ++i) {
            for (const PtcParticleType& type : mOut.emitters[i].types) {
                for (uint32_t id : type.textures) {
                    if (ok && !mOut.FindTexture(id))
                        ok = Fail("emitter \"" + mOut.emitters[i].name + "\" uses texture " + std::to_string(id) +
                                  ", which is not defined");
                }
            }
        }
    }
    error = mError;
    return ok;
}

} // namespace

bool ParsePtcFile(std::span<const uint8_t> bytes, PtcFile& out, std::string& error)
{
    PtcFile file;
    if (!Parser(bytes, file).Run(error))
        return false;
    out = std::move(file);
    return true;
}

} // namespace Platform
