#include "tools/gamedata/ParticleDescription.h"

#include "tools/gamedata/Description.h"

#include <bit>
#include <cmath>
#include <limits>
#include <set>
#include <vector>

namespace Tandry::GameData {
namespace {

// Offsets of the parameter block.
constexpr size_t kCel = 0;
constexpr size_t kBlend = 2;
constexpr size_t kRate = 4;
constexpr size_t kDuration = 8;
constexpr size_t kLife = 12;
constexpr size_t kDirection = 20;
constexpr size_t kSpread = 24;
constexpr size_t kRelative = 28;
constexpr size_t kSpeed = 32;
constexpr size_t kGravity = 40;
constexpr size_t kRadial = 48;
constexpr size_t kTangential = 56;
constexpr size_t kSize = 64;
constexpr size_t kSpin = 76;
constexpr size_t kBirth = 88;
constexpr size_t kDeath = 104;
constexpr size_t kVariation = 120;

constexpr int16_t kBlendNormal = 6;
constexpr int16_t kBlendAdd = 0;

void PutU32(ParticleBlock& block, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        block[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

void PutI16(ParticleBlock& block, size_t at, int16_t value)
{
    const uint16_t bits = static_cast<uint16_t>(value);
    block[at] = static_cast<uint8_t>(bits);
    block[at + 1] = static_cast<uint8_t>(bits >> 8);
}

void PutFloats(ParticleBlock& block, size_t at, const std::vector<double>& values)
{
    for (size_t i = 0; i < values.size(); ++i)
        PutU32(block, at + 4 * i, std::bit_cast<uint32_t>(static_cast<float>(values[i])));
}

// Where each statement of floats goes and how many values it takes.
struct FloatField {
    const char* word;
    size_t offset;
    size_t count;
};

constexpr FloatField kFloatFields[] = {
    {"life", kLife, 2},           {"direction", kDirection, 1}, {"spread", kSpread, 1},
    {"speed", kSpeed, 2},         {"gravity", kGravity, 2},     {"radial", kRadial, 2},
    {"tangential", kTangential, 2}, {"size", kSize, 3},         {"spin", kSpin, 3},
    {"birth", kBirth, 4},         {"death", kDeath, 4},         {"variation", kVariation, 2},
};

bool Numbers(const Statement& statement, size_t count, std::vector<double>& out, std::string& error)
{
    if (statement.values.size() != count || !statement.options.empty()) {
        error = LineError(statement, statement.word + " takes " + std::to_string(count) + " number(s)");
        return false;
    }
    out.clear();
    for (const std::string& text : statement.values) {
        double value = 0;
        // A float field must hold the value: beyond float's range it would be infinite.
        if (!ParseNumber(text, value) || std::fabs(value) > std::numeric_limits<float>::max()) {
            error = LineError(statement, "'" + text + "' is no number");
            return false;
        }
        out.push_back(value);
    }
    return true;
}

bool WholeNumber(const Statement& statement, double low, double high, double& out, std::string& error)
{
    std::vector<double> values;
    if (!Numbers(statement, 1, values, error))
        return false;
    if (values[0] != std::floor(values[0]) || values[0] < low || values[0] > high) {
        error = LineError(statement, statement.word + " must be a whole number from " + std::to_string(int64_t(low)) +
                                         " to " + std::to_string(int64_t(high)));
        return false;
    }
    out = values[0];
    return true;
}

bool Apply(const Statement& statement, ParticleBlock& block, std::string& error)
{
    for (const FloatField& field : kFloatFields) {
        if (statement.word != field.word)
            continue;
        std::vector<double> values;
        if (!Numbers(statement, field.count, values, error))
            return false;
        PutFloats(block, field.offset, values);
        return true;
    }
    const std::string& word = statement.word;
    double value = 0;
    if (word == "cel") {
        if (!WholeNumber(statement, 0, 32767, value, error))
            return false;
        PutI16(block, kCel, static_cast<int16_t>(value));
    } else if (word == "rate") {
        if (!WholeNumber(statement, 0, 100000, value, error))
            return false;
        PutU32(block, kRate, static_cast<uint32_t>(value));
    } else if (word == "relative") {
        if (!WholeNumber(statement, 0, 1, value, error))
            return false;
        block[kRelative] = static_cast<uint8_t>(value);
    } else if (word == "blend") {
        const bool add = statement.values.size() == 1 && statement.values[0] == "add";
        const bool normal = statement.values.size() == 1 && statement.values[0] == "normal";
        if ((!add && !normal) || !statement.options.empty()) {
            error = LineError(statement, "blend is normal or add");
            return false;
        }
        PutI16(block, kBlend, normal ? kBlendNormal : kBlendAdd);
    } else if (word == "duration") {
        if (statement.values.size() == 1 && statement.values[0] == "endless" && statement.options.empty()) {
            PutFloats(block, kDuration, {-1.0});
            return true;
        }
        std::vector<double> values;
        if (!Numbers(statement, 1, values, error))
            return false;
        if (values[0] < 0) {
            error = LineError(statement, "a duration is endless or not negative");
            return false;
        }
        PutFloats(block, kDuration, values);
    } else {
        error = LineError(statement, "unknown statement " + word);
        return false;
    }
    return true;
}

} // namespace

bool ParseParticleDescription(std::string_view text, ParticleBlock& out, std::string& error)
{
    std::vector<Statement> statements;
    if (!ParseDescription(text, statements, error))
        return false;
    ParticleBlock block{};
    PutFloats(block, kBirth + 12, {1.0});
    PutFloats(block, kDeath + 12, {1.0});
    std::set<std::string> seen;
    for (const Statement& statement : statements) {
        if (!seen.insert(statement.word).second) {
            error = LineError(statement, statement.word + " is given twice");
            return false;
        }
        if (!Apply(statement, block, error))
            return false;
    }
    out = block;
    return true;
}

} // namespace Tandry::GameData
